#include "export/ConvertToIMG.h"

#include "ui_ConvertToIMG.h"

#include "export/ColoredLabel.h"
#include "export/GraphicsViewSave.h"
#include "export/PrimaryScreen.h"
#include "export/SceneExport.h"
#include "export/ScopedExportArea.h"
#include "scene/BackgroundCommand.h"
#include "scene/DiagramScene.h"
#include "scene/Dialogs.h"

#include <QButtonGroup>
#include <QStandardPaths>

namespace {

const QString whiteGridPath = QStringLiteral(":/images/background2.png");
const QString grayGridPath = QStringLiteral(":/images/background3.png");

// Room beside and below the preview for the controls and the frame.
const int extraWidth = 350;
const int extraHeight = 100;

QString picturesFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
}

// A window fitting the whole area when the screen has room for it, else
// nearly the whole screen with the preview scrolling.
QSize windowSize(const QRect &screen, const QRectF &area)
{
    if (screen.width() >= area.width() + extraWidth
        && screen.height() >= area.height() + extraHeight)
        return QSize(int(area.width() + extraWidth), int(area.height() + extraHeight));
    return QSize(screen.width() - 70, screen.height() - 100);
}

// Unchecks a radio button of an exclusive pair, which its own exclusivity
// would otherwise refuse.
void uncheck(QRadioButton *button)
{
    button->setAutoExclusive(false);
    button->setChecked(false);
    button->setAutoExclusive(true);
}

} // namespace

ConvertToIMG::ConvertToIMG(QWidget *parent)
    : QMainWindow(parent)
    , ui(new Ui::ConvertToIMG)
    , colorLabel(new ColoredLabel(Qt::white))
    , toolButtonGroup(new QButtonGroup(this))
{
    ui->setupUi(this);

    // Not exclusive: checkToolButton() must be able to uncheck them all.
    toolButtonGroup->setExclusive(false);
    toolButtonGroup->addButton(ui->toolButton_whiteGrid, WhiteGrid);
    toolButtonGroup->addButton(ui->toolButton_grayGrid, GrayGrid);
    toolButtonGroup->addButton(ui->toolButton_custom, CustomPicture);

    for (int factor = 1; factor <= maxWindowScale; ++factor)
        ui->comboBox_scale->addItem(tr("%1×").arg(factor), factor);

        colorLabel->setFixedSize(100, 20);
    ui->horizontalLayout_4->insertWidget(ui->horizontalLayout_4->indexOf(ui->label_2) + 1,
                                         colorLabel);

    connect(toolButtonGroup, &QButtonGroup::idClicked, this, &ConvertToIMG::toolButtonClicked);
    connect(colorLabel, &ColoredLabel::clicked, this, &ConvertToIMG::setColor);
    connect(ui->radioButton, &QRadioButton::clicked, this,
            &ConvertToIMG::setBackgroundTransparancy);
    connect(ui->radioButton_2, &QRadioButton::toggled, this, &ConvertToIMG::setButtonEnabled);
}

// The scene gets its selection and scene rectangle back.
ConvertToIMG::~ConvertToIMG()
{
    exportArea.reset();
    delete ui;
}

void ConvertToIMG::setScene(DiagramScene *newScene)
{
    if (view) {
        qWarning("ConvertToIMG::setScene: the scene is set once");
        return;
    }
    scene = newScene;
    connect(scene, &QObject::destroyed, this, &QWidget::close);
    exportArea = std::make_unique<ScopedExportArea>(scene);
    view = new GraphicsViewSave;
    view->setScene(scene);
    view->setInteractive(false);
    view->setViewportUpdateMode(QGraphicsView::FullViewportUpdate);

    const QRect screen = primaryScreenGeometry();
    resize(windowSize(screen, scene->sceneRect()));
    centreOverParent(screen);
    mirrorBackground();
    ui->verticalLayout->addWidget(view);
}

// Over the middle of the main window, as its dialogs open, but never out
// of the screen.
void ConvertToIMG::centreOverParent(const QRect &screen)
{
    if (!parentWidget())
        return;
    QRect placed(QPoint(), size());
    placed.moveCenter(parentWidget()->window()->frameGeometry().center());
    placed.moveLeft(qBound(screen.left(), placed.left(), qMax(screen.left(), screen.right() - width())));
    placed.moveTop(qBound(screen.top(), placed.top(), qMax(screen.top(), screen.bottom() - height())));
    move(placed.topLeft());
}

void ConvertToIMG::mirrorBackground()
{
    if (scene->isTransparent()) {
        ui->radioButton->setChecked(true);
    } else if (scene->isPictureBackground()) {
        ui->radioButton_2->setChecked(true);
        checkToolButton(pictureButtonOf());
    } else if (scene->isColorBackground()) {
        colorLabel->setColor(scene->backgroundColor());
    }
}

int ConvertToIMG::pictureButtonOf() const
{
    if (!scene->isPictureBackground())
        return 0;
    if (scene->backgroundPath() == whiteGridPath)
        return WhiteGrid;
    if (scene->backgroundPath() == grayGridPath)
        return GrayGrid;
    return CustomPicture;
}

int ConvertToIMG::scale() const
{
    return ui->comboBox_scale->currentData().toInt();
}

void ConvertToIMG::checkToolButton(int id)
{
    for (QAbstractButton *button : toolButtonGroup->buttons())
        button->setChecked(toolButtonGroup->id(button) == id);
}

void ConvertToIMG::setColor()
{
    const QColor chosen = Dialogs::instance()->color(color, this, QString());
    if (!chosen.isValid())
        return;
    color = chosen;
    scene->push(new BackgroundCommand(scene, {QBrush(color), false, true, false, QString(), color}));
    colorLabel->setColor(color);
    view->viewport()->update();
    if (ui->radioButton->isChecked())
        uncheck(ui->radioButton);
    if (ui->radioButton_2->isChecked())
        uncheck(ui->radioButton_2); // its toggled() disables the picture buttons
}

void ConvertToIMG::setBackgroundTransparancy()
{
    scene->push(new BackgroundCommand(scene, {Qt::NoBrush, true, false, false, QString(), Qt::white}));
}

void ConvertToIMG::setButtonEnabled(bool state)
{
    for (QAbstractButton *button : toolButtonGroup->buttons())
        button->setEnabled(state);
}

void ConvertToIMG::toolButtonClicked(int id)
{
    checkToolButton(id);
    switch (id) {
    case WhiteGrid:
        setPictureBackground(QPixmap(whiteGridPath), whiteGridPath);
        break;
    case GrayGrid:
        setPictureBackground(QPixmap(grayGridPath), grayGridPath);
        break;
    case CustomPicture:
        chooseCustomImage();
        break;
    default:
        break;
    }
}

// A cancelled dialog or a file that is no picture leaves the background,
// and so the buttons, as they were.
void ConvertToIMG::chooseCustomImage()
{
    const QString path = Dialogs::instance()->openFileName(
        this, tr("Image de fond"), picturesFolder(), tr("JPG (*.jpg);;PNG (*.png)"));
    const QPixmap picture = path.isEmpty() ? QPixmap() : QPixmap(path);
    if (!path.isEmpty() && picture.isNull())
        Dialogs::instance()->warning(
            this, tr("Image de fond"),
            tr("Le fichier « %1 » n'est pas une image lisible.").arg(path));
    if (picture.isNull()) {
        checkToolButton(pictureButtonOf());
        return;
    }
    setPictureBackground(picture, path);
}

void ConvertToIMG::setPictureBackground(const QPixmap &picture, const QString &path)
{
    scene->push(new BackgroundCommand(scene, {QBrush(picture), false, false, true, path, Qt::white}));
}

void ConvertToIMG::on_pushButton_convert_clicked()
{
    const QSize size = pictureSize(scene->sceneRect(), scale());
    if (size.width() > maxPictureSide || size.height() > maxPictureSide) {
        Dialogs::instance()->warning(
            this, tr("Image trop grande"),
            tr("La zone à convertir mesure %1 × %2 pixels ; une image ne peut pas dépasser "
               "%3 pixels de côté. Choisissez une échelle plus petite, rapprochez les éléments "
               "ou exportez en PDF ou en SVG.")
                .arg(size.width()).arg(size.height()).arg(maxPictureSide));
        return;
    }

    const QString fileName = Dialogs::instance()->saveFileNameWithSuffix(
        this, tr("Convertir en image"), picturesFolder(), tr("PNG (*.png);;JPG (*.jpg)"));
    if (fileName.isEmpty())
        return;

    scene->clearSelection();
    QString reason;
    ExportOptions options;
    options.scale = scale();
    if (!exportPicture(*scene, fileName, options, &reason)) {
        Dialogs::instance()->warning(
            this, tr("Image non enregistrée"),
            tr("L'image n'a pas pu être enregistrée dans « %1 » : %2.").arg(fileName, reason));
        return;
    }
    Dialogs::instance()->information(this, tr("Image enregistrée"),
                                     tr("L'image a été convertie avec succès."));
}
