#include "app/MathWindow.h"

#include "math/VelQTmathText.h"
#include "scene/DiagramScene.h"
#include "scene/Dialogs.h"

#include <QButtonGroup>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
#include <QTextEdit>
#include <QToolBox>
#include <QToolButton>
#include <QVBoxLayout>

#include <iterator>

// One palette button: where it sits, what it shows and what it inserts.
struct PaletteEntry
{
    int page;
    int id;
    const char *label;
    const char *snippet;
    // Side of the typeset icon in pixels; 0 when the icon is `picture`.
    int iconSize;
    // Resource picture ":/images/<picture>.png", for entries with iconSize 0.
    const char *picture;
};

namespace {

const char *const pageTitles[] = {
    "Fonctions", "Opérateurs", "Symboles", "Alpahabet", "Vecteurs et complexes", "Flèches", "Texte",
};

// Pages in order; on a page, entries fill a two-column grid row by row.
const PaletteEntry paletteEntries[] = {
    {0, 0, "Fraction", R"(\frac{a}{b})", 50, nullptr},
    {0, 1, "Racine carrée", R"(\sqrt{x})", 50, nullptr},
    {0, 2, "Sinus", R"(\sin())", 0, "sin"},
    {0, 3, "Cosinus", R"(\cos())", 0, "cos"},
    {0, 4, "Tangente", R"(\tan())", 0, "tan"},
    {0, 5, "Arc Sinus", R"(\arcsin())", 0, "arcsin"},
    {0, 6, "Arc Cosinus", R"(\arccos())", 0, "arccos"},
    {0, 7, "Arc Tangente", R"(\arctan())", 0, "arctan"},
    {0, 8, "Logarithme Népérien", R"(\ln())", 0, "ln"},
    {0, 9, "Logarithme décimal", R"(\log())", 0, "log"},
    {0, 10, "Exponentielle", R"(\mathrm{e}^x)", 50, nullptr},
    {0, 11, "Intégrale", R"(\int_1^{10})", 85, nullptr},
    {0, 12, "Limites + infini", R"(\lim_{x\to+\infty})", 70, nullptr},
    {0, 13, "Limites - infini", R"(\lim_{x\to-\infty})", 70, nullptr},
    {0, 14, "Limites en 0", R"(\lim_{x\to0})", 70, nullptr},
    {0, 15, "Sommes", R"(\sum_{i=1}^n)", 70, nullptr},

    {1, 16, "Différent", R"(\neq)", 50, nullptr},
    {1, 17, "Inférieur ou égal", R"(\leq)", 50, nullptr},
    {1, 18, "Supérieur ou égal", R"(\geq)", 50, nullptr},
    {1, 19, "Approximativement", R"(\approx)", 50, nullptr},
    {1, 21, "Pour tout", R"(\forall)", 50, nullptr},
    {1, 22, "Il existe", R"(\exists)", 50, nullptr},
    {1, 59, "Il n'existe pas", R"(\nexists)", 50, nullptr},

    {2, 57, "( )", R"(\left({b}\right))", 50, nullptr},
    {2, 58, "[ ]", R"(\left[{b}\right])", 50, nullptr},
    {2, 60, "Accolades hautes", R"(\overbrace{ABC}{a})", 70, nullptr},
    {2, 61, "Accolades basses", R"(\underbrace{ABC}{a})", 70, nullptr},
    {2, 24, "Infini", R"(\infty)", 50, nullptr},
    {2, 25, "Appartient à", R"(\in)", 50, nullptr},
    {2, 26, "N'appartient pas à", R"(\notin)", 50, nullptr},
    {2, 27, "Inclus dans", R"(\subset)", 50, nullptr},
    {2, 28, "Intersection", R"(\cap)", 50, nullptr},
    {2, 56, "Union", R"(\cup)", 50, nullptr},
    {2, 29, "Entiers naturels", R"(\mathbb{N})", 50, nullptr},
    {2, 30, "Entiers relatifs", R"(\mathbb{Z})", 50, nullptr},
    {2, 31, "Décimaux", R"(\mathbb{D})", 50, nullptr},
    {2, 32, "Rationnels", R"(\mathbb{Q})", 50, nullptr},
    {2, 33, "Réels", R"(\mathbb{R})", 50, nullptr},
    {2, 34, "Complexes", R"(\mathbb{C})", 50, nullptr},

    {3, 35, "Alpha", R"(\alpha)", 50, nullptr},
    {3, 36, "Beta", R"(\beta)", 50, nullptr},
    {3, 37, "Gamma", R"(\gamma)", 50, nullptr},
    {3, 38, "Delta", R"(\delta)", 50, nullptr},
    {3, 39, "Delta majuscule", R"(\Delta)", 50, nullptr},
    {3, 40, "Omega", R"(\omega)", 50, nullptr},
    {3, 41, "Omega majuscule", R"(\Omega)", 50, nullptr},
    {3, 42, "Pi", R"(\pi)", 50, nullptr},
    {3, 43, "Lambda", R"(\lambda)", 50, nullptr},

    {4, 44, "Vecteur", R"(\vec{u})", 50, nullptr},
    {4, 45, "Norme", R"(||\vec{u}||)", 50, nullptr},
    {4, 46, "Coord vecteur (2d)", R"(\begin{pmatrix} x \\ y \end{pmatrix})", 100, nullptr},
    {4, 47, "Coord vecteur (3d)", R"(\begin{pmatrix} x \\ y \\ z \end{pmatrix})", 100, nullptr},
    {4, 48, "Conjugué", R"(\bar{z})", 60, nullptr},
    {4, 49, "Conjuqué addition", R"(\overline{z+z'})", 80, nullptr},

    {5, 50, "Flèche gauche", R"(\leftarrow)", 50, nullptr},
    {5, 51, "Flèche droite", R"(\rightarrow)", 50, nullptr},
    {5, 52, "Flèche gauche/droite", R"(\leftrightarrow)", 50, nullptr},
    {5, 53, "Implication réciproque", R"(\Leftarrow)", 50, nullptr},
    {5, 54, "Implication", R"(\Rightarrow)", 50, nullptr},
    {5, 55, "Equivalence", R"(\Leftrightarrow)", 50, nullptr},

    // "$" leaves math mode: the snippet is a stretch of plain text.
    {6, 62, "Text", "$...$", 0, "textpointer"},
};

constexpr int defaultFontSize = 20;
constexpr QPainter::RenderHints formulaHints = QPainter::Antialiasing | QPainter::TextAntialiasing;

// A palette icon: the snippet typeset at the default size into a square,
// shifted left by about the thin space the engine puts before a formula.
QPixmap formulaIcon(const QString &formula, int side)
{
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    VelQTmathText engine;
    engine.setFontSize(defaultFontSize);
    engine.selectXitsFonts();
    engine.parse(formula);
    QPainter painter(&pixmap);
    painter.setRenderHints(formulaHints);
    engine.draw(painter, Qt::AlignCenter, QRectF(-5, 0, side, side));
    return pixmap;
}

// Outcome of typesetting a whole formula into a picture.
struct FormulaPicture
{
    QPixmap pixmap;
    bool tooLarge = false;
};

// Typesets a whole formula at `size` points on `background`, as the scene
// does. No pixmap is made when it would be too large to paint.
FormulaPicture typesetFormula(const QString &formula, int size, const QColor &background)
{
    VelQTmathText engine;
    engine.setFontSize(size);
    engine.selectXitsFonts();
    engine.parse(formula);
    // Measured without a device: the metrics of the default paint device.
    QPainter painter;
    const QSizeF measured = engine.getSize(painter);
    // Written so that a NaN size counts as too large as well.
    if (!(measured.width() <= MathWindow::maxPictureSide
          && measured.height() <= MathWindow::maxPictureSide))
        return {QPixmap(), true};

    FormulaPicture picture;
    picture.pixmap = QPixmap(int(measured.width()), int(measured.height()));
    if (picture.pixmap.isNull()) // nothing to show
        return picture;
    picture.pixmap.fill(background);
    painter.begin(&picture.pixmap);
    painter.setRenderHints(formulaHints);
    engine.draw(painter, Qt::AlignCenter, QRectF(QPointF(0, 0), picture.pixmap.size()));
    painter.end();
    return picture;
}

QPushButton *addPushButton(QBoxLayout *layout, const char *name, const QString &text)
{
    auto *button = new QPushButton(text);
    button->setObjectName(QString::fromLatin1(name));
    layout->addWidget(button);
    return button;
}

} // namespace

MathWindow::MathWindow(QWidget *parent)
    : QMainWindow(parent)
{
    createForm();
}

QString MathWindow::snippet(int id)
{
    for (const PaletteEntry &entry : paletteEntries) {
        if (entry.id == id)
            return QString::fromUtf8(entry.snippet);
    }
    return QString();
}

void MathWindow::createForm()
{
    setObjectName(QStringLiteral("MathWindow"));
    resize(893, 631);
    setWindowTitle(tr("Expression mathématique"));

    auto *centralwidget = new QWidget(this);
    centralwidget->setObjectName(QStringLiteral("centralwidget"));
    auto *horizontalLayout = new QHBoxLayout(centralwidget);
    horizontalLayout->setObjectName(QStringLiteral("horizontalLayout"));

    auto *horizontalLayout_2 = new QHBoxLayout;
    horizontalLayout_2->setObjectName(QStringLiteral("horizontalLayout_2"));
    horizontalLayout_2->addWidget(createPalettes());
    horizontalLayout->addLayout(horizontalLayout_2);

    auto *verticalLayout = new QVBoxLayout;
    verticalLayout->setObjectName(QStringLiteral("verticalLayout"));
    textEdit = new QTextEdit(centralwidget);
    textEdit->setObjectName(QStringLiteral("textEdit"));
    // Only the plain text is typeset; pasted formatting would be invisible.
    textEdit->setAcceptRichText(false);
    // Typing previews at the default size (the slot's default argument).
    connect(textEdit, &QTextEdit::textChanged, this, [this] { on_textEdit_textChanged(); });
    verticalLayout->addWidget(textEdit);

    label = new QLabel(tr("Prévisualisation"), centralwidget);
    label->setObjectName(QStringLiteral("label"));
    label->setAlignment(Qt::AlignCenter);
    label->setMinimumSize(0, 0);
    verticalLayout->addWidget(label);

    auto *formLayout = new QFormLayout;
    formLayout->setObjectName(QStringLiteral("formLayout"));
    auto *tailleDeLaPoliceLabel = new QLabel(tr("Taille de la police"), centralwidget);
    tailleDeLaPoliceLabel->setObjectName(QStringLiteral("tailleDeLaPoliceLabel"));
    tailleDeLaPoliceSpinBox = new QSpinBox(centralwidget);
    tailleDeLaPoliceSpinBox->setObjectName(QStringLiteral("tailleDeLaPoliceSpinBox"));
    tailleDeLaPoliceSpinBox->setRange(1, 200);
    tailleDeLaPoliceSpinBox->setValue(defaultFontSize);
    formLayout->addRow(tailleDeLaPoliceLabel, tailleDeLaPoliceSpinBox);
    connect(tailleDeLaPoliceSpinBox, QOverload<int>::of(&QSpinBox::valueChanged),
            this, &MathWindow::on_textEdit_textChanged);
    verticalLayout->addLayout(formLayout);

    auto *horizontalLayout_3 = new QHBoxLayout;
    horizontalLayout_3->setObjectName(QStringLiteral("horizontalLayout_3"));
    // "Actualiser" needs no action: the preview follows every change.
    addPushButton(horizontalLayout_3, "pushButton_refresh", tr("Actualiser"));
    connect(addPushButton(horizontalLayout_3, "pushButton_valid", tr("Valider")),
            &QPushButton::clicked, this, &MathWindow::on_pushButton_valid_clicked);
    connect(addPushButton(horizontalLayout_3, "pushButton_cancel", tr("Annuler")),
            &QPushButton::clicked, this, &MathWindow::on_pushButton_cancel_clicked);
    verticalLayout->addLayout(horizontalLayout_3);

    horizontalLayout->addLayout(verticalLayout);
    setCentralWidget(centralwidget);
}

QToolBox *MathWindow::createPalettes()
{
    buttonGroup = new QButtonGroup(this);
    buttonGroup->setExclusive(false);
    connect(buttonGroup, &QButtonGroup::idClicked, this, &MathWindow::buttonGroupClicked);

    auto *toolBox = new QToolBox;
    for (int page = 0; page < int(std::size(pageTitles)); ++page) {
        auto *grid = new QGridLayout;
        int cell = 0;
        for (const PaletteEntry &entry : paletteEntries) {
            if (entry.page == page) {
                grid->addWidget(createPaletteEntry(entry), cell / 2, cell % 2);
                ++cell;
            }
        }
        // Stretch beyond the last row and column keeps the buttons packed
        // in the top left corner.
        grid->setRowStretch(10, 10);
        grid->setColumnStretch(2, 10);
        auto *widget = new QWidget;
        widget->setLayout(grid);
        toolBox->addItem(widget, tr(pageTitles[page]));
    }
    toolBox->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Preferred);
    // The pages scroll vertically: room for the scroll bar, so that the
    // widest page needs no horizontal one.
    toolBox->setMinimumWidth(toolBox->widget(0)->sizeHint().width()
                             + toolBox->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    return toolBox;
}

QWidget *MathWindow::createPaletteEntry(const PaletteEntry &entry)
{
    auto *button = new QToolButton;
    button->setIconSize(QSize(50, 50));
    if (entry.iconSize > 0) {
        button->setIcon(QIcon(formulaIcon(QString::fromUtf8(entry.snippet), entry.iconSize)));
    } else {
        button->setIcon(QIcon(QStringLiteral(":/images/%1.png").arg(QLatin1String(entry.picture))));
    }
    buttonGroup->addButton(button, entry.id);

    auto *widget = new QWidget;
    auto *layout = new QGridLayout(widget);
    layout->addWidget(button, 0, 0, Qt::AlignHCenter);
    layout->addWidget(new QLabel(tr(entry.label)), 1, 0, Qt::AlignCenter);
    return widget;
}

void MathWindow::setFormula(const QString &formula)
{
    textEdit->setPlainText(formula.startsWith(QLatin1Char('$')) ? formula.mid(1) : formula);
}

QString MathWindow::formulaText() const
{
    return QLatin1Char('$') + textEdit->toPlainText();
}

bool MathWindow::hasFormula() const
{
    return !textEdit->toPlainText().trimmed().isEmpty();
}

void MathWindow::buttonGroupClicked(int id)
{
    const QString text = snippet(id);
    if (!text.isEmpty())
        textEdit->insertPlainText(text);
}

void MathWindow::on_textEdit_textChanged(int sizePolice)
{
    if (!hasFormula()) {
        label->setText(tr("Prévisualisation"));
        return;
    }
    const FormulaPicture preview = typesetFormula(formulaText(), sizePolice, Qt::white);
    if (preview.tooLarge)
        label->setText(tr("La formule est trop grande pour être affichée à cette taille."));
    else
        label->setPixmap(preview.pixmap);
}

void MathWindow::on_pushButton_cancel_clicked()
{
    close();
}

void MathWindow::on_pushButton_valid_clicked()
{
    const QString string = formulaText();
    const FormulaPicture picture = hasFormula()
        ? typesetFormula(string, tailleDeLaPoliceSpinBox->value(), Qt::transparent)
        : FormulaPicture();
    const QString title = tr("Expression mathématique");
    if (picture.tooLarge) {
        Dialogs::instance()->warning(this, title,
            tr("La formule est trop grande pour être placée sur la scène : son image dépasserait "
               "%1 pixels. Réduisez la taille de la police ou raccourcissez la formule.")
                .arg(QLocale(QLocale::French).toString(maxPictureSide)));
        return;
    }
    if (picture.pixmap.isNull()) {
        Dialogs::instance()->warning(this, title,
            tr("La formule est vide : écrivez-la avant de la valider."));
        return;
    }
    emit done(string, picture.pixmap);
    close();
}
