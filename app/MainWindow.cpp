#include "app/MainWindow.h"

#include "app/AutoSaver.h"
#include "app/ListWidget.h"
#include "app/RecoveryFile.h"
#include "scene/Arrow.h"
#include "scene/DiagramImage.h"
#include "scene/BackgroundCommand.h"
#include "scene/DiagramDocument.h"
#include "scene/DiagramItem.h"
#include "scene/DiagramScene.h"
#include "scene/DiagramTextItem.h"
#include "scene/Dialogs.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QStandardPaths>
#include <QToolBar>
#include <QToolBox>
#include <QToolButton>
#include <QUndoGroup>
#include <QVBoxLayout>

namespace {

// Ids of the tool box buttons that are not shapes (shapes use their type).
const int textButtonId = 10;
const int mathButtonId = 11;
const int imageButtonId = 12;
const int transparentButtonId = 20;
const int colorButtonId = 21;
const int whiteGridButtonId = 22;
const int grayGridButtonId = 23;

const QString whiteGridPath = QStringLiteral(":/images/background2.png");
const QString grayGridPath = QStringLiteral(":/images/background3.png");
const QSize toolBoxIconSize(50, 50);

// A tool box cell: the button above its centred label, which is also the
// button's tooltip.
QWidget *cellWidget(QToolButton *button, const QString &text)
{
    button->setToolTip(text);
    auto *layout = new QGridLayout;
    layout->addWidget(button, 0, 0, Qt::AlignHCenter);
    layout->addWidget(new QLabel(text), 1, 0, Qt::AlignCenter);
    auto *widget = new QWidget;
    widget->setLayout(layout);
    return widget;
}

QToolButton *checkableIconButton(const QIcon &icon)
{
    auto *button = new QToolButton;
    button->setIcon(icon);
    button->setIconSize(toolBoxIconSize);
    button->setCheckable(true);
    return button;
}

// A tool box page whose cells stay packed in its top-left corner.
QWidget *packedPage(QGridLayout *layout)
{
    layout->setRowStretch(10, 10);
    layout->setColumnStretch(2, 10);
    auto *page = new QWidget;
    page->setLayout(layout);
    return page;
}

} // namespace

MainWindow::MainWindow()
    : textColor(Qt::black), fillColor(Qt::white), lineColor(Qt::black),
      backgroundColor(Qt::white), version(QStringLiteral(PENSATO_VERSION))
{
    undoGroup = new QUndoGroup(this);
    createActions();
    createToolBox();
    createMenus();

    document = newDocument();
    scene = document->scene();
    undoGroup->addStack(document->undoStack());
    undoGroup->setActiveStack(document->undoStack());
    createToolbars();
    connectScene();
    createCentralLayout();
    // The diagram's keys (Ctrl+A, the arrows, Delete) work from the start,
    // not in the font box, the first widget in the tab order.
    view->setFocus();
    autoSaver = new AutoSaver(RecoveryFile::standardFolder(), this);
    followDocument();
    setUnifiedTitleAndToolBarOnMac(true);

    startUpdateCheck();
}

MainWindow::~MainWindow()
{
    // The document is a child that QObject would delete after this class is
    // gone; the last signals of its scene (selection, focus) must not reach a
    // half-destroyed window.
    document->disconnect(this);
    scene->disconnect(this);
    delete document;
}

void MainWindow::createToolBox()
{
    buttonGroup = new QButtonGroup(this);
    buttonGroup->setObjectName(QStringLiteral("buttonGroup"));
    buttonGroup->setExclusive(false);
    connect(buttonGroup, &QButtonGroup::idClicked, this,
            &MainWindow::buttonGroupClicked);

    auto *layout = new QGridLayout;
    layout->addWidget(createCellWidget(tr("Carré"), DiagramItem::Carre), 0, 0);
    layout->addWidget(createCellWidget(tr("Carré arrondi"), DiagramItem::RoundedCarre), 0, 1);
    layout->addWidget(createCellWidget(tr("Rectangle"), DiagramItem::Rectangle), 1, 0);
    layout->addWidget(createCellWidget(tr("Rectangle arrondi"), DiagramItem::RoundedRectangle),
                      1, 1);
    layout->addWidget(createCellWidget(tr("Triangle"), DiagramItem::Triangle), 2, 0);
    layout->addWidget(createCellWidget(tr("Pentagone"), DiagramItem::Pentagone), 2, 1);
    layout->addWidget(createCellWidget(tr("Cercle"), DiagramItem::Cercle), 3, 0);
    layout->addWidget(createPictureCellWidget(tr("Texte"), QStringLiteral(":/images/textpointer.png"),
                                              textButtonId), 3, 1);
    layout->addWidget(createPictureCellWidget(tr("Formule"), QStringLiteral(":/images/pi.png"),
                                              mathButtonId), 4, 0);
    layout->addWidget(createPictureCellWidget(tr("Image"), QStringLiteral(":/images/img.png"),
                                              imageButtonId), 4, 1);
    QWidget *itemPage = packedPage(layout);

    backgroundButtonGroup = new QButtonGroup(this);
    backgroundButtonGroup->setObjectName(QStringLiteral("backgroundButtonGroup"));
    connect(backgroundButtonGroup, QOverload<QAbstractButton *>::of(&QButtonGroup::buttonClicked),
            this, &MainWindow::backgroundButtonGroupClicked);

    auto *backgroundLayout = new QGridLayout;
    backgroundLayout->addWidget(createBackgroundCellWidget(tr("Transparent"),
                                                           QStringLiteral(":/images/blank.png"),
                                                           transparentButtonId), 0, 0);
    backgroundLayout->addWidget(createBackgroundCellWidget(tr("Couleur"),
                                                           QStringLiteral(":/images/colors.png"),
                                                           colorButtonId), 0, 1);
    backgroundLayout->addWidget(createBackgroundCellWidget(tr("Grille blanche"), whiteGridPath,
                                                           whiteGridButtonId), 1, 0);
    backgroundLayout->addWidget(createBackgroundCellWidget(tr("Grille grise"), grayGridPath,
                                                           grayGridButtonId), 1, 1);
    QWidget *backgroundPage = packedPage(backgroundLayout);

    toolBox = new QToolBox;
    toolBox->setSizePolicy(QSizePolicy(QSizePolicy::Maximum, QSizePolicy::Ignored));
    toolBox->setMinimumWidth(itemPage->sizeHint().width() + 15);
    toolBox->addItem(itemPage, tr("Objets"));
    toolBox->addItem(backgroundPage, tr("Fonds"));
}

QWidget *MainWindow::createCellWidget(const QString &text, int type)
{
    QToolButton *button = checkableIconButton(
        QIcon(DiagramItem::imageOf(DiagramItem::DiagramType(type))));
    buttonGroup->addButton(button, type);
    return cellWidget(button, text);
}

QWidget *MainWindow::createPictureCellWidget(const QString &text, const QString &image, int id)
{
    QToolButton *button = checkableIconButton(QIcon(image));
    buttonGroup->addButton(button, id);
    return cellWidget(button, text);
}

QWidget *MainWindow::createBackgroundCellWidget(const QString &text, const QString &image, int id)
{
    QToolButton *button = checkableIconButton(QIcon(image));
    // The slot tells the background buttons apart by this text.
    button->setText(text);
    backgroundButtonGroup->addButton(button, id);
    return cellWidget(button, text);
}

void MainWindow::createPointerToolbar()
{
    pointerTypeGroup = new QButtonGroup(this);
    pointerTypeGroup->setObjectName(QStringLiteral("pointerTypeGroup"));
    pointerToolbar = addToolBar(tr("Type pointeur"));
    const struct {
        const char *icon;
        DiagramScene::Mode mode;
        const char *toolTip;
    } pointers[] = {
        {":/images/pointer.png", DiagramScene::MoveItem, "Sélectionner et déplacer"},
        {":/images/linepointer.png", DiagramScene::InsertLine,
         "Tracer une flèche d'un objet à un autre"},
        {":/images/link.png", DiagramScene::LinkText, "Lier un texte à une forme"}};
    for (const auto &pointer : pointers) {
        auto *button = new QToolButton;
        button->setCheckable(true);
        button->setIcon(QIcon(QString::fromLatin1(pointer.icon)));
        button->setToolTip(tr(pointer.toolTip));
        pointerTypeGroup->addButton(button, pointer.mode);
        pointerToolbar->addWidget(button);
    }
    pointerTypeGroup->button(DiagramScene::MoveItem)->setChecked(true);
    connect(pointerTypeGroup, &QButtonGroup::idClicked, this,
            &MainWindow::pointerGroupClicked);
    pointerToolbar->addSeparator();
    pointerToolbar->addAction(centerViewAction);
}

void MainWindow::createItemList()
{
    listWidget = new ListWidget(multiMenu, scene, nullptr);
    connect(listWidget, &ListWidget::contextMenuRequested, this, &MainWindow::showContextMenu);
    listWidget->setObjectName(QStringLiteral("listWidget"));
    listWidget->setMaximumHeight(350);
    listWidget->setMaximumWidth(toolBox->minimumSize().width());
    listWidget->setSelectionMode(QAbstractItemView::ExtendedSelection);
}

void MainWindow::createCentralLayout()
{
    auto *column = new QVBoxLayout;
    // The tool box gets the larger share, so that its five rows of buttons
    // show without scrolling on a usual screen.
    column->addWidget(toolBox, 3);
    column->addWidget(listWidget, 1);
    connect(listWidget, &QListWidget::itemSelectionChanged, this,
            &MainWindow::listItemSelectionChanged);

    view = new DiagramView(scene);
    view->setDragMode(QGraphicsView::RubberBandDrag);
    view->setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing
                         | QPainter::SmoothPixmapTransform);

    connectView();

    auto *layout = new QHBoxLayout;
    layout->addWidget(view);
    layout->addLayout(column);
    auto *widget = new QWidget;
    widget->setLayout(layout);
    setCentralWidget(widget);
}

void MainWindow::connectScene()
{
    connect(scene, &DiagramScene::itemInserted, this, &MainWindow::itemInserted);
    connect(scene, &DiagramScene::textInserted, this, &MainWindow::textInserted);
    connect(scene, &DiagramScene::textSelected, this, &MainWindow::textSelected);
    connect(scene, &DiagramScene::mathInserted, this, &MainWindow::mathInserted);
    connect(scene, &DiagramScene::imageInserted, this, &MainWindow::imageInserted);
    connect(scene, &DiagramScene::arrowInserted, this, &MainWindow::arrowInserted);
    connect(scene, &DiagramScene::itemsLinked, this, &MainWindow::itemsLinked);
    connect(scene, &DiagramScene::selectionChanged, this, &MainWindow::itemSelectionChanged);
    connect(scene, &DiagramScene::itemNameChanged, this, &MainWindow::updateItemInList);
    connect(scene, &DiagramScene::contextMenuRequested, this, &MainWindow::showContextMenu);
    connect(scene, &DiagramScene::sceneMenuRequested, this, &MainWindow::showSceneMenu);
    connect(scene, &DiagramScene::escapePressed, this, &MainWindow::backToPointer);
    connect(scene, &DiagramScene::editRequested, this, &MainWindow::editObject);
    connect(scene, &DiagramScene::filesDropped, this, &MainWindow::filesDropped);
    // The list is told directly, before the scene's own selection changes.
    connect(scene, &DiagramScene::objectsRemoved, listWidget, &ListWidget::removeEntries);
    connect(scene, &DiagramScene::objectsRestored, listWidget, &ListWidget::addEntries);
    connect(scene, &DiagramScene::listPlaceChanged, listWidget, &ListWidget::placeEntry);
}

void MainWindow::setSceneMode(int mode)
{
    scene->setMode(DiagramScene::Mode(mode));
    // With the pointer, a drag on empty space selects what it encloses; in
    // the insertion modes the drag belongs to the scene.
    if (view) {
        view->setDragMode(mode == DiagramScene::MoveItem ? QGraphicsView::RubberBandDrag
                                                         : QGraphicsView::NoDrag);
    }
}

void MainWindow::pointerGroupClicked(int)
{
    setSceneMode(pointerTypeGroup->checkedId());
}

void MainWindow::buttonGroupClicked(int id)
{
    // The group is not exclusive, so that a second click unchecks a button.
    for (QAbstractButton *button : buttonGroup->buttons()) {
        if (buttonGroup->id(button) != id)
            button->setChecked(false);
    }
    switch (id) {
    case textButtonId:
        setSceneMode(DiagramScene::InsertText);
        break;
    case mathButtonId:
        setSceneMode(DiagramScene::InsertPixmap);
        showDialogMath();
        break;
    case imageButtonId:
        choosePicture();
        break;
    default:
        scene->setItemType(DiagramItem::DiagramType(id));
        setSceneMode(DiagramScene::InsertItem);
        break;
    }
}

// The next click places the chosen picture; a cancelled dialog or an
// unreadable file leaves the pointer.
void MainWindow::choosePicture()
{
    const QString path = Dialogs::instance()->openFileName(
        this, tr("Choisir image"),
        QStandardPaths::writableLocation(QStandardPaths::PicturesLocation),
        tr("Images (*.png *.jpg *.bmp)"));
    if (!path.isEmpty()) {
        scene->setPixmapToAdd(path);
        if (!scene->pixmapToAdd().isNull()) {
            setSceneMode(DiagramScene::InsertPixmap);
            return;
        }
        Dialogs::instance()->warning(this, tr("Image non lue"),
                                     tr("Le fichier « %1 » n'est pas une image lisible.").arg(path));
    }
    resetModeAfterInsertion(imageButtonId);
}

void MainWindow::backToPointer()
{
    if (QAbstractButton *checked = buttonGroup->checkedButton())
        checked->setChecked(false);
    pointerTypeGroup->button(DiagramScene::MoveItem)->setChecked(true);
    setSceneMode(DiagramScene::MoveItem);
}

void MainWindow::uncheckInsertionButton(int id)
{
    if (QAbstractButton *button = buttonGroup->button(id))
        button->setChecked(false);
}

void MainWindow::resetModeAfterInsertion(int insertionButtonId)
{
    uncheckInsertionButton(insertionButtonId);
    setSceneMode(pointerTypeGroup->checkedId());
}

void MainWindow::itemInserted(DiagramItem *item)
{
    listWidget->addEntry(item);
    pointerTypeGroup->button(DiagramScene::MoveItem)->setChecked(true);
    resetModeAfterInsertion(item->diagramType());
}

void MainWindow::textInserted(DiagramTextItem *item)
{
    listWidget->addEntry(item);
    resetModeAfterInsertion(textButtonId);
}

void MainWindow::mathInserted(DiagramImage *item)
{
    listWidget->addEntry(item);
    resetModeAfterInsertion(mathButtonId);
}

void MainWindow::imageInserted(DiagramImage *item)
{
    listWidget->addEntry(item);
    resetModeAfterInsertion(imageButtonId);
}

void MainWindow::arrowInserted(Arrow *arrow)
{
    // The mode stays InsertLine, so that further arrows can be drawn at once.
    listWidget->addEntry(arrow);
}

void MainWindow::backgroundButtonGroupClicked(QAbstractButton *button)
{
    for (QAbstractButton *other : backgroundButtonGroup->buttons()) {
        if (other != button)
            other->setChecked(false);
    }
    const QString text = button->text();
    if (text == tr("Grille blanche"))
        changeBackground({QBrush(QPixmap(whiteGridPath)), false, false, true, whiteGridPath, Qt::white});
    else if (text == tr("Grille grise"))
        changeBackground({QBrush(QPixmap(grayGridPath)), false, false, true, grayGridPath, Qt::white});
    else if (text == tr("Couleur"))
        chooseBackgroundColor();
    else
        changeBackground({QBrush(Qt::NoBrush), true, false, false, QString(), Qt::white});
}

void MainWindow::changeBackground(const SceneBackground &background)
{
    scene->push(new BackgroundCommand(scene, background));
    scene->update();
}

void MainWindow::chooseBackgroundColor()
{
    const QColor color = Dialogs::instance()->color(backgroundColor, this);
    if (!color.isValid())
        return;
    backgroundColor = color;
    changeBackground({QBrush(color, Qt::SolidPattern), false, true, false, QString(), color});
}

void MainWindow::checkButton(int id)
{
    for (QAbstractButton *button : backgroundButtonGroup->buttons()) {
        // An exclusive group refuses to uncheck its checked button directly.
        backgroundButtonGroup->setExclusive(false);
        button->setChecked(backgroundButtonGroup->id(button) == id);
        backgroundButtonGroup->setExclusive(true);
    }
}
