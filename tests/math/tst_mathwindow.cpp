#include "tests/app/WindowFixture.h"
#include "math/MathWindow.h"
#include "math/VelQTmathText.h"
#include "scene/DiagramImage.h"
#include "scene/DiagramScene.h"
#include "support/ScriptedDialogs.h"

#include <QButtonGroup>
#include <QLabel>
#include <QPointer>
#include <QTemporaryDir>
#include <QPainter>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTextEdit>
#include <QToolBox>
#include <QToolButton>
#include <QtTest>

namespace {

// What the engine measures for a formula, the way every caller measures it:
// with a painter that has no device.
QSizeF measured(const QString &formula, double size)
{
    VelQTmathText engine;
    engine.setFontSize(size);
    engine.selectXitsFonts();
    engine.parse(formula);
    QPainter painter;
    return engine.getSize(painter);
}

QSize truncatedSum(const QSizeF &size, const QSize &margins)
{
    return QSize(int(size.width() + margins.width()), int(size.height() + margins.height()));
}

// The picture size of a whole formula with the scene's margins.
QSize pictureSize(const QString &formula, double size)
{
    return truncatedSum(measured(formula, size), DiagramScene::formulaMargins(formula));
}

bool hasVisiblePixel(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) > 0)
                return true;
        }
    }
    return false;
}

// The editor's widgets, found as its form names them.
struct Editor
{
    MathWindow window;
    QTextEdit *text = window.findChild<QTextEdit *>("textEdit");
    QLabel *preview = window.findChild<QLabel *>("label");
    QSpinBox *size = window.findChild<QSpinBox *>("tailleDeLaPoliceSpinBox");
    QPushButton *valid = window.findChild<QPushButton *>("pushButton_valid");
    QPushButton *cancel = window.findChild<QPushButton *>("pushButton_cancel");
    QButtonGroup *palette = window.findChild<QButtonGroup *>();

    QSize previewSize() const
    {
        return preview->pixmap(Qt::ReturnByValue).size();
    }
};

// The editor the "Math" button opened, if one is showing.
MathWindow *openEditor()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        auto *editor = qobject_cast<MathWindow *>(widget);
        if (editor && editor->isVisible())
            return editor;
    }
    return nullptr;
}

// Lets closed editors go (they delete themselves once closed).
void flushDeletions()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QList<DiagramImage *> formulasOf(const QGraphicsScene &scene)
{
    QList<DiagramImage *> formulas;
    for (QGraphicsItem *item : scene.items()) {
        if (item->type() == DiagramImage::Type)
            formulas.append(static_cast<DiagramImage *>(item));
    }
    return formulas;
}

// Through the window as a user goes: the "Math" button, the editor's text
// and font size, "Valider", then a click on the scene at `at`.
DiagramImage *placeFormula(WindowFixture &fixture, const QString &text, int size,
                           const QPointF &at, QPixmap *handedOver = nullptr)
{
    fixture.clickToolButton("buttonGroup", 11);
    MathWindow *window = openEditor();
    if (!window)
        return nullptr;
    window->findChild<QTextEdit *>("textEdit")->setPlainText(text);
    window->findChild<QSpinBox *>("tailleDeLaPoliceSpinBox")->setValue(size);
    QSignalSpy done(window, &MathWindow::done);
    QTest::mouseClick(window->findChild<QPushButton *>("pushButton_valid"), Qt::LeftButton);
    flushDeletions();
    if (done.count() != 1)
        return nullptr;
    if (handedOver)
        *handedOver = done.at(0).at(1).value<QPixmap>();

    DiagramImage *placed = nullptr;
    auto connection = QObject::connect(fixture.scene(), &DiagramScene::mathInserted,
                                       [&placed](DiagramImage *image) { placed = image; });
    fixture.click(at);
    QObject::disconnect(connection);
    return placed;
}

} // namespace

class MathWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void startsEmpty();
    void paletteClickInsertsAtCursor_data();
    void paletteClickInsertsAtCursor();
    void idsWithoutButtonInsertNothing_data();
    void idsWithoutButtonInsertNothing();
    void everyPaletteButtonInsertsItsSnippet();
    void everyPaletteButtonShowsAnIcon();
    void pagesInOrder();
    void typingPreviewsAtDefaultSize();
    void sizeChangePreviewsAtNewSize();
    void erasedTextShowsPlaceholder();
    void validHandsOverAtSpinBoxSize_data();
    void validHandsOverAtSpinBoxSize();
    void validPictureIsTransparent();
    void cancelEmitsNothing();
    void emptyFormulaIsRefused_data();
    void emptyFormulaIsRefused();
    void oversizedFormulaIsRefused_data();
    void oversizedFormulaIsRefused();

    // The road of a formula through the program.
    void mathButtonOpensModalEditor();
    void validatedFormulaIsPlacedByNextClick();
    void cancelledEditorPlacesNothing();
    void placedFormulaSurvivesCopyAndPaste();
    void placedFormulaSurvivesSaveAndLoad();
};

void MathWindowTest::startsEmpty()
{
    Editor editor;
    QCOMPARE(editor.window.windowTitle(), QString("Expression mathématique"));
    QVERIFY(editor.text->toPlainText().isEmpty());
    QCOMPARE(editor.preview->text(), QString("Prévisualisation"));
    QCOMPARE(editor.size->value(), 20);
    QCOMPARE(editor.size->minimum(), 1);
    QCOMPARE(editor.size->maximum(), 200);
}

void MathWindowTest::paletteClickInsertsAtCursor_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<QString>("after");

    QTest::newRow("Sinus at the end") << 2 << "2+" << 2 << R"(2+\sin())";
    QTest::newRow("Fraction in the middle") << 0 << "ab" << 1 << R"(a\frac{a}{b}b)";
    QTest::newRow("Text into an empty formula") << 62 << "" << 0 << "$...$";
    QTest::newRow("Logarithme at the start") << 9 << "x" << 0 << R"(\log()x)";
    QTest::newRow("Limites en 0") << 14 << "" << 0 << R"(\lim_{x\to0})";
    QTest::newRow("Il n'existe pas") << 59 << "" << 0 << R"(\nexists)";
    QTest::newRow("Accolades basses") << 61 << "" << 0 << R"(\underbrace{ABC}{a})";
    QTest::newRow("Coord vecteur (3d)") << 47 << ""
        << 0 << R"(\begin{pmatrix} x \\ y \\ z \end{pmatrix})";
    QTest::newRow("Norme") << 45 << "" << 0 << R"(||\vec{u}||)";
    QTest::newRow("Equivalence") << 55 << "" << 0 << R"(\Leftrightarrow)";
}

void MathWindowTest::paletteClickInsertsAtCursor()
{
    QFETCH(int, id);
    QFETCH(QString, before);
    QFETCH(int, cursor);
    QFETCH(QString, after);

    Editor editor;
    editor.text->setPlainText(before);
    QTextCursor place = editor.text->textCursor();
    place.setPosition(cursor);
    editor.text->setTextCursor(place);

    QAbstractButton *button = editor.palette->button(id);
    QVERIFY(button);
    button->click();

    QCOMPARE(editor.text->toPlainText(), after);
    // The cursor ends after the snippet ("\sin()": after the parenthesis).
    QCOMPARE(editor.text->textCursor().position(), after.size() - (before.size() - cursor));
}

void MathWindowTest::idsWithoutButtonInsertNothing_data()
{
    QTest::addColumn<int>("id");
    QTest::newRow("20") << 20;
    QTest::newRow("23") << 23;
    QTest::newRow("past the last") << 63;
    QTest::newRow("negative") << -1;
}

void MathWindowTest::idsWithoutButtonInsertNothing()
{
    QFETCH(int, id);
    Editor editor;
    editor.text->setPlainText("x");
    QSignalSpy changes(editor.text, &QTextEdit::textChanged);

    editor.window.buttonGroupClicked(id);

    QCOMPARE(editor.text->toPlainText(), QString("x"));
    QCOMPARE(changes.count(), 0);
    QVERIFY(editor.palette->button(id) == nullptr);
}

void MathWindowTest::everyPaletteButtonInsertsItsSnippet()
{
    Editor editor;
    const QList<QAbstractButton *> buttons = editor.palette->buttons();
    QCOMPARE(buttons.size(), 61);
    for (QAbstractButton *button : buttons) {
        const int id = editor.palette->id(button);
        editor.text->clear();
        button->click();
        QVERIFY2(!editor.text->toPlainText().isEmpty(), qPrintable(QString::number(id)));
        QCOMPARE(editor.text->toPlainText(), MathWindow::snippet(id));
    }
}

void MathWindowTest::everyPaletteButtonShowsAnIcon()
{
    Editor editor;
    for (QAbstractButton *button : editor.palette->buttons()) {
        const QString id = QString::number(editor.palette->id(button));
        QCOMPARE(button->iconSize(), QSize(50, 50));
        const QPixmap icon = button->icon().pixmap(50, 50);
        QVERIFY2(!icon.isNull(), qPrintable(id));
        // A snippet that failed to typeset or a missing picture shows nothing.
        QVERIFY2(hasVisiblePixel(icon.toImage()), qPrintable(id));
    }
}

void MathWindowTest::pagesInOrder()
{
    Editor editor;
    auto *pages = editor.window.findChild<QToolBox *>();
    const QStringList expected = {"Fonctions", "Opérateurs", "Symboles", "Alpahabet",
                                  "Vecteurs et complexes", "Flèches", "Texte"};
    QCOMPARE(pages->count(), expected.size());
    for (int i = 0; i < pages->count(); ++i)
        QCOMPARE(pages->itemText(i), expected.at(i));
    // Each page's buttons: the first button of each page is the one given first.
    const QList<int> firstIds = {0, 16, 57, 35, 44, 50, 62};
    for (int i = 0; i < pages->count(); ++i) {
        const QList<QToolButton *> buttons = pages->widget(i)->findChildren<QToolButton *>();
        QVERIFY(!buttons.isEmpty());
        QCOMPARE(editor.palette->id(buttons.first()), firstIds.at(i));
    }
}

void MathWindowTest::typingPreviewsAtDefaultSize()
{
    Editor editor;
    editor.size->setValue(45);
    editor.text->setFocus();
    QTest::keyClicks(editor.text, "a+b");

    // Typing previews at 20 points whatever the spin box shows.
    QCOMPARE(editor.previewSize(), pictureSize("$a+b", 20));
    QVERIFY(editor.previewSize() != pictureSize("$a+b", 45));
}

void MathWindowTest::sizeChangePreviewsAtNewSize()
{
    Editor editor;
    editor.text->setPlainText(R"(\frac{1}{x})");
    editor.size->setValue(45);
    QCOMPARE(editor.previewSize(), pictureSize(R"($\frac{1}{x})", 45));
    // The preview is on white.
    const QImage image = editor.preview->pixmap(Qt::ReturnByValue).toImage();
    QCOMPARE(image.pixelColor(0, 0), QColor(Qt::white));
}

void MathWindowTest::erasedTextShowsPlaceholder()
{
    Editor editor;
    editor.text->setPlainText("x");
    QVERIFY(!editor.previewSize().isEmpty());
    editor.text->clear();
    QCOMPARE(editor.preview->text(), QString("Prévisualisation"));
    QVERIFY(editor.previewSize().isEmpty());
}

void MathWindowTest::validHandsOverAtSpinBoxSize_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("size");
    QTest::addColumn<QSize>("margins");

    // "\neq" overhangs: 28 across, 26 down.
    QTest::newRow("neq at 20") << R"(\neq)" << 20 << QSize(28, 26);
    QTest::newRow("neq at 35") << R"(\neq)" << 35 << QSize(28, 26);
    QTest::newRow("plain at 12") << "a+b" << 12 << QSize(0, 0);
    QTest::newRow("two neq, counted across once each") << R"(a\neq b\neq c)" << 20 << QSize(56, 26);
}

void MathWindowTest::validHandsOverAtSpinBoxSize()
{
    QFETCH(QString, text);
    QFETCH(int, size);
    QFETCH(QSize, margins);

    Editor editor;
    editor.window.show();
    editor.text->setPlainText(text);
    editor.size->setValue(size);
    QSignalSpy done(&editor.window, &MathWindow::done);

    editor.valid->click();

    QCOMPARE(done.count(), 1);
    QCOMPARE(done.at(0).at(0).toString(), "$" + text);
    const QPixmap pixmap = done.at(0).at(1).value<QPixmap>();
    QCOMPARE(pixmap.size(), truncatedSum(measured("$" + text, size), margins));
    QVERIFY(!editor.window.isVisible());
}

void MathWindowTest::validPictureIsTransparent()
{
    Editor editor;
    editor.text->setPlainText(R"(\neq)");
    QSignalSpy done(&editor.window, &MathWindow::done);
    editor.valid->click();

    const QImage image = done.at(0).at(1).value<QPixmap>().toImage();
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    QVERIFY(hasVisiblePixel(image));
}

void MathWindowTest::cancelEmitsNothing()
{
    Editor editor;
    editor.window.show();
    editor.text->setPlainText("x");
    QSignalSpy done(&editor.window, &MathWindow::done);

    editor.cancel->click();

    QCOMPARE(done.count(), 0);
    QVERIFY(!editor.window.isVisible());
}

void MathWindowTest::emptyFormulaIsRefused_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("nothing") << "";
    QTest::newRow("only blanks") << "  \n\t ";
}

void MathWindowTest::emptyFormulaIsRefused()
{
    QFETCH(QString, text);
    ScriptedDialogs dialogs;
    Editor editor;
    editor.window.show();
    editor.text->setPlainText(text);
    QSignalSpy done(&editor.window, &MathWindow::done);

    editor.valid->click();

    QCOMPARE(done.count(), 0);
    QCOMPARE(dialogs.calls.size(), 1);
    QCOMPARE(dialogs.calls.first().icon, QMessageBox::Warning);
    QCOMPARE(dialogs.calls.first().caption, QString("Expression mathématique"));
    QVERIFY(dialogs.calls.first().text.contains("vide"));
    // The user can go on writing.
    QVERIFY(editor.window.isVisible());
}

void MathWindowTest::oversizedFormulaIsRefused_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("too wide") << QString("x").repeated(600);
    QTest::newRow("too tall") << R"(\begin{pmatrix} )" + QString(R"(x \\ )").repeated(300)
                                     + R"(x \end{pmatrix})";
}

void MathWindowTest::oversizedFormulaIsRefused()
{
    QFETCH(QString, text);
    QSizeF size = measured("$" + text, 200);
    QVERIFY2(qMax(size.width(), size.height()) > MathWindow::maxPictureSide,
             "the formula must be over the limit for this test");

    ScriptedDialogs dialogs;
    Editor editor;
    editor.window.show();
    editor.text->setPlainText(text);
    QSignalSpy done(&editor.window, &MathWindow::done);
    editor.size->setValue(200);

    // The preview says so instead of allocating the picture.
    QVERIFY(editor.previewSize().isEmpty());
    QVERIFY(editor.preview->text().contains("trop grande"));

    editor.valid->click();
    QCOMPARE(done.count(), 0);
    QCOMPARE(dialogs.calls.size(), 1);
    QCOMPARE(dialogs.calls.first().icon, QMessageBox::Warning);
    QVERIFY(dialogs.calls.first().text.contains("trop grande"));
    QVERIFY(editor.window.isVisible());
}

void MathWindowTest::mathButtonOpensModalEditor()
{
    WindowFixture fixture;
    fixture.clickToolButton("buttonGroup", 11);

    QPointer<MathWindow> editor = openEditor();
    QVERIFY(editor);
    QCOMPARE(editor->windowModality(), Qt::ApplicationModal);
    QCOMPARE(editor->windowTitle(), QString("Expression mathématique"));
    QCOMPARE(fixture.scene()->mode(), DiagramScene::InsertPixmap);

    editor->close();
    flushDeletions();
    QVERIFY(editor.isNull()); // a closed editor does not linger
}

void MathWindowTest::validatedFormulaIsPlacedByNextClick()
{
    WindowFixture fixture;
    QPixmap handedOver;
    const QPointF at(620, 480);
    DiagramImage *formula = placeFormula(fixture, R"(\neq)", 20, at, &handedOver);
    QVERIFY(formula);

    QVERIFY(formula->isMath());
    QVERIFY(formula->flags().testFlag(QGraphicsItem::ItemIsMovable));
    QVERIFY(formula->flags().testFlag(QGraphicsItem::ItemIsSelectable));
    QCOMPARE(formula->path(), QString(R"($\neq)"));
    QCOMPARE(formula->name(), QString("Math 0"));
    QCOMPARE(formula->pixmap().cacheKey(), handedOver.cacheKey());
    // Centred on the click.
    QCOMPARE(formula->scenePos(), at);
    QCOMPARE(formula->offset(), QPointF(-(handedOver.width() / 2), -(handedOver.height() / 2)));
    QCOMPARE(fixture.entryTexts(), QStringList{"Math 0"});
    QCOMPARE(fixture.scene()->mode(), DiagramScene::MoveItem);
    QVERIFY(!fixture.group("buttonGroup")->button(11)->isChecked());

    // A second formula is the next "Math".
    DiagramImage *second = placeFormula(fixture, "x^2", 20, QPointF(800, 480));
    QVERIFY(second);
    QCOMPARE(second->name(), QString("Math 1"));
}

void MathWindowTest::cancelledEditorPlacesNothing()
{
    WindowFixture fixture;
    DiagramImage *first = placeFormula(fixture, "a+b", 20, QPointF(600, 450));
    QVERIFY(first);
    const qint64 pending = fixture.scene()->pixmapToAdd().cacheKey();
    const int itemsBefore = fixture.scene()->items().size();

    fixture.clickToolButton("buttonGroup", 11);
    MathWindow *editor = openEditor();
    QVERIFY(editor);
    QSignalSpy done(editor, &MathWindow::done);
    editor->findChild<QTextEdit *>("textEdit")->setPlainText(R"(\frac{1}{2})");
    QTest::mouseClick(editor->findChild<QPushButton *>("pushButton_cancel"), Qt::LeftButton);
    QCOMPARE(done.count(), 0);
    flushDeletions();

    QCOMPARE(fixture.scene()->pixmapToAdd().cacheKey(), pending);
    QCOMPARE(fixture.scene()->pathToAdd(), QString("$a+b"));
    // The scene no longer waits to place the previous formula again.
    QCOMPARE(fixture.scene()->mode(), DiagramScene::MoveItem);
    QVERIFY(!fixture.group("buttonGroup")->button(11)->isChecked());
    fixture.click(QPointF(900, 600));
    QCOMPARE(fixture.scene()->items().size(), itemsBefore);
}

void MathWindowTest::placedFormulaSurvivesCopyAndPaste()
{
    WindowFixture fixture;
    DiagramImage *source = placeFormula(fixture, R"(\sqrt{x}\leq 2)", 20, QPointF(600, 450));
    QVERIFY(source);
    QList<DiagramImage *> pasted;
    connect(fixture.scene(), &DiagramScene::mathInserted,
            [&pasted](DiagramImage *image) { pasted.append(image); });

    fixture.select({source});
    fixture.scene()->copy();
    fixture.scene()->paste();

    QCOMPARE(pasted.size(), 1);
    DiagramImage *copy = pasted.first();
    QVERIFY(copy != source);
    QVERIFY(copy->isMath());
    QCOMPARE(copy->path(), source->path());
    QCOMPARE(copy->name(), QString("Math 0 (1)"));
    QCOMPARE(copy->pixmap().size(), source->pixmap().size());
}

void MathWindowTest::placedFormulaSurvivesSaveAndLoad()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString file = folder.filePath("formules.pensascene");

    WindowFixture fixture;
    // Validated at 35 points: the file keeps only the text, which comes
    // back typeset at 20.
    DiagramImage *formula = placeFormula(fixture, R"(x\neq\frac{1}{y})", 35, QPointF(600, 450));
    QVERIFY(formula);
    QCOMPARE(formula->pixmap().size(), pictureSize(R"($x\neq\frac{1}{y})", 35));

    fixture.dialogs.fileNames.enqueue(file);
    fixture.action("Enregistrer la scène")->trigger();
    fixture.dialogs.fileNames.enqueue(file);
    fixture.action("Charger une scène")->trigger();
    flushDeletions();

    const QList<DiagramImage *> loaded = formulasOf(*fixture.scene());
    QCOMPARE(loaded.size(), 1);
    QVERIFY(loaded.first()->isMath());
    QCOMPARE(loaded.first()->path(), QString(R"($x\neq\frac{1}{y})"));
    QCOMPARE(loaded.first()->name(), QString("Math 0"));
    QCOMPARE(loaded.first()->pixmap().size(), pictureSize(R"($x\neq\frac{1}{y})", 20));
    QCOMPARE(loaded.first()->scenePos(), QPointF(600, 450));
}

QTEST_MAIN(MathWindowTest)
#include "tst_mathwindow.moc"
