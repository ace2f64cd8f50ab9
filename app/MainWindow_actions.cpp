#include "app/MainWindow.h"

#include "app/ColorActionWidget.h"
#include "app/LineInputActionWidget.h"
#include "app/SpinboxActionWidget.h"
#include "scene/DiagramScene.h"
#include "scene/DiagramTextItem.h"
#include "scene/Dialogs.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QFontComboBox>
#include <QIntValidator>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPen>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QToolBar>
#include <QToolButton>
#include <QUndoGroup>

namespace {

QAction *checkableAction(const QString &text, const QString &icon, QObject *parent)
{
    auto *action = new QAction(QIcon(icon), text, parent);
    action->setCheckable(true);
    return action;
}

// The platform's keys for the command, or the usual one where it has none
// (Windows names none for "Enregistrer sous" and "Quitter").
QList<QKeySequence> standardKeys(QKeySequence::StandardKey key, const QKeySequence &usual)
{
    const QList<QKeySequence> keys = QKeySequence::keyBindings(key);
    return keys.isEmpty() ? QList<QKeySequence>{usual} : keys;
}

} // namespace

QIcon MainWindow::createColorToolButtonIcon(const QString &imageFile, const QColor &color)
{
    QPixmap pixmap(50, 80);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    const QPixmap image(imageFile);
    // Only rows 60 to 79 fall inside: a 20-pixel colour bar at the bottom.
    painter.fillRect(QRect(0, 60, 50, 80), color);
    painter.drawPixmap(QRect(4, 0, 42, 43), image, QRect(0, 0, 42, 43));
    return QIcon(pixmap);
}

void MainWindow::createActions()
{
    struct Command {
        QAction **action;
        const char *text;
        const char *icon;
        const char *statusTip;
        void (MainWindow::*slot)();
    };
    const Command commands[] = {
        {&toFrontAction, "Mettre au premier plan", ":/images/bringtofront.png",
         "Mettre au premier plan", &MainWindow::bringToFront},
        {&sendBackAction, "Mettre en arrière-plan", ":/images/sendtoback.png",
         "Mettre en arrière-plan", &MainWindow::sendToBack},
        {&deleteAction, "&Supprimer", ":/images/delete.png", "Supprimer l'objet",
         &MainWindow::deleteItem},
        {&copyAction, "&Copier", ":/images/copy.png", "Copier l'objet", &MainWindow::copy},
        {&resetArrowAction, "&Remise à zéro", ":/images/reset.png",
         "Remettre à zéro la position de la flèche", &MainWindow::resetArrow},
        {&pasteAction, "&Coller", ":/images/paste.png", "Coller l'objet", &MainWindow::paste},
        {&unlinkAction, "Délier", ":/images/unlink.png", "Délier l'objet",
         &MainWindow::unlinkItem},
        {&centerViewAction, "Centrer scène", ":/images/center_view.png",
         "Centrer la scène sur les objets", &MainWindow::centerView},
        {&rotate0Action, "Rotation 0°", ":/images/rotation_0.png",
         "Remettre l'objet à sa rotation d'origine", &MainWindow::setRotate0},
        {&rotate90Action, "Rotation 90°", ":/images/rotation_90.png",
         "Faire une rotation de 90° sur l'objet", &MainWindow::setRotate90},
        {&rotateMinus90Action, "Rotation -90°", ":/images/rotation_-90.png",
         "Faire une rotation de -90° sur l'objet", &MainWindow::setRotateMinus90},
        {&rotate180Action, "Rotation 180°", ":/images/rotation_180.png",
         "Faire une rotation de 180° sur l'objet", &MainWindow::setRotate180},
    };
    for (const Command &c : commands) {
        *c.action = new QAction(QIcon(QString::fromUtf8(c.icon)), tr(c.text), this);
        (*c.action)->setStatusTip(tr(c.statusTip));
        connect(*c.action, &QAction::triggered, this, c.slot);
    }
    // Undo and redo follow whichever document is open; their text names the
    // step ("Annuler Déplacer 3 objets"), and they are disabled when there
    // is none.
    undoAction = undoGroup->createUndoAction(this, tr("&Annuler"));
    undoAction->setIcon(QIcon(QStringLiteral(":/images/undo.png")));
    undoAction->setShortcuts(QKeySequence::Undo);
    redoAction = undoGroup->createRedoAction(this, tr("&Rétablir"));
    redoAction->setIcon(QIcon(QStringLiteral(":/images/redo.png")));
    redoAction->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y),
                              QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    // The group's own slots would undo under a drag or an editing.
    for (QAction *action : {undoAction, redoAction})
        action->disconnect(undoGroup);
    connect(undoAction, &QAction::triggered, this, &MainWindow::undo);
    connect(redoAction, &QAction::triggered, this, &MainWindow::redo);

    copyAction->setShortcuts(QKeySequence::Copy);
    pasteAction->setShortcuts(QKeySequence::Paste);
    duplicateAction = new QAction(QIcon(QStringLiteral(":/images/copy.png")), tr("&Dupliquer"), this);
    duplicateAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    duplicateAction->setStatusTip(tr("Dupliquer la sélection"));
    connect(duplicateAction, &QAction::triggered, this, &MainWindow::duplicate);
    selectAllAction = new QAction(tr("Tout &sélectionner"), this);
    selectAllAction->setShortcuts(QKeySequence::SelectAll);
    connect(selectAllAction, &QAction::triggered, this, &MainWindow::selectAll);

    toFrontAction->setShortcut(QKeySequence(tr("Ctrl+F"), QKeySequence::NativeText));
    sendBackAction->setShortcut(QKeySequence(tr("Ctrl+T"), QKeySequence::NativeText));
    // Not the platform's whole list for QKeySequence::Delete: on X11 it holds
    // Ctrl+D, which users press to duplicate.
    deleteAction->setShortcuts({QKeySequence(Qt::Key_Delete), QKeySequence(Qt::Key_Backspace)});

    borderWidthAction = new SpinboxActionWidget(QStringLiteral("Taille bordure : "), 1);
    borderWidthAction->setStatusTip(QStringLiteral("Choisir la taille de la bordure"));
    connect(borderWidthAction, &SpinboxActionWidget::valueChanged, this,
            &MainWindow::changeBorderSize);

    LineInputActionWidget **nameActions[] = {&itemNameAction, &imageNameAction, &textNameAction,
                                             &arrowNameAction};
    for (LineInputActionWidget **nameAction : nameActions) {
        *nameAction = new LineInputActionWidget(QStringLiteral("Nom : "));
        (*nameAction)->setStatusTip(QStringLiteral("Changer le nom de l'objet"));
        connect(*nameAction, &LineInputActionWidget::valueChanged, this, &MainWindow::changeName);
    }

    borderColorAction = new ColorActionWidget(QStringLiteral("Couleur bordure : "), Qt::black);
    borderColorAction->setStatusTip(QStringLiteral("Couleur de la bordure"));
    connect(borderColorAction, &ColorActionWidget::colorChanged, this,
            &MainWindow::borderColorChanged);

    arrowWidthAction = new SpinboxActionWidget(QStringLiteral("Taille flèche : "), 20);
    arrowWidthAction->setStatusTip(QStringLiteral("Choisir la taille de la tête de la flèche"));
    connect(arrowWidthAction, &SpinboxActionWidget::valueChanged, this,
            &MainWindow::setArrowWidth);

    fontAction = new QAction(QIcon(QStringLiteral(":/images/font.png")), tr("Police d'écriture"),
                             this);
    fontAction->setStatusTip(tr("Définir la police d'écriture"));
    connect(fontAction, &QAction::triggered, this, &MainWindow::setTextFont);

    exitAction = new QAction(QIcon(QStringLiteral(":/images/exit.png")), tr("Quitter"), this);
    exitAction->setShortcuts(standardKeys(QKeySequence::Quit, QKeySequence(Qt::CTRL | Qt::Key_Q)));
    exitAction->setStatusTip(tr("Quitter le programme"));
    connect(exitAction, &QAction::triggered, this, &QWidget::close);

    toImageAction = new QAction(QIcon(QStringLiteral(":/images/convert_img.png")),
                                tr("Convertir en image"), this);
    toImageAction->setStatusTip(tr("Convertir la scene en image"));
    connect(toImageAction, &QAction::triggered, this, &MainWindow::toImage);

    toPDFAction = new QAction(QIcon(QStringLiteral(":/images/convert_pdf.png")),
                              tr("Convertir en PDF"), this);
    toPDFAction->setStatusTip(tr("Convertir la scene en fichier PDF"));
    connect(toPDFAction, &QAction::triggered, this, &MainWindow::toPDF);

    toSVGAction = new QAction(QIcon(QStringLiteral(":/images/convert_svg.png")),
                              tr("Convertir en SVG"), this);
    toSVGAction->setStatusTip(tr("Convertir la scene en dessin SVG"));
    connect(toSVGAction, &QAction::triggered, this, &MainWindow::toSVG);

    // Saving answers whether it saved, which the actions do not need.
    saveAction = new QAction(QIcon(QStringLiteral(":/images/save.png")),
                             tr("Enregistrer la scène"), this);
    connect(saveAction, &QAction::triggered, this, &MainWindow::save);
    saveAsAction = new QAction(QIcon(QStringLiteral(":/images/save_as.png")),
                               tr("Enregistrer sous"), this);
    connect(saveAsAction, &QAction::triggered, this, &MainWindow::saveAs);
    const Command fileCommands[] = {
        {&loadAction, "Charger une scène", ":/images/open.png", nullptr, &MainWindow::load},
        {&newAction, "Nouvelle scène", ":/images/new.png", nullptr, &MainWindow::createNewScene},
    };
    for (const Command &c : fileCommands) {
        *c.action = new QAction(QIcon(QString::fromUtf8(c.icon)), tr(c.text), this);
        connect(*c.action, &QAction::triggered, this, c.slot);
    }
    saveAction->setShortcuts(QKeySequence::Save);
    saveAsAction->setShortcuts(
        standardKeys(QKeySequence::SaveAs, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)));
    loadAction->setShortcuts(QKeySequence::Open);
    newAction->setShortcuts(QKeySequence::New);

    boldAction = checkableAction(tr("Gras"), QStringLiteral(":/images/bold.png"), this);
    boldAction->setShortcut(QKeySequence(tr("Ctrl+B"), QKeySequence::NativeText));
    italicAction = checkableAction(tr("Italique"), QStringLiteral(":/images/italic.png"), this);
    italicAction->setShortcut(QKeySequence(tr("Ctrl+I"), QKeySequence::NativeText));
    underlineAction = checkableAction(tr("Souligné"), QStringLiteral(":/images/underline.png"),
                                      this);
    underlineAction->setShortcut(QKeySequence(tr("Ctrl+U"), QKeySequence::NativeText));
    for (QAction *action : {boldAction, italicAction, underlineAction})
        connect(action, &QAction::triggered, this, &MainWindow::handleFontChange);

    rightAlignAction = checkableAction(tr("Aligné à droite"),
                                       QStringLiteral(":/images/align-right.png"), this);
    leftAlignAction = checkableAction(tr("Aligné à gauche"),
                                      QStringLiteral(":/images/align-left.png"), this);
    centerAlignAction = checkableAction(tr("Aligné au centre"),
                                        QStringLiteral(":/images/align-center.png"), this);
    justifyAction = checkableAction(tr("Alignement justifié"),
                                    QStringLiteral(":/images/align-justify.png"), this);
    auto *alignGroup = new QActionGroup(this);
    for (QAction *action : {rightAlignAction, leftAlignAction, centerAlignAction, justifyAction}) {
        alignGroup->addAction(action);
        connect(action, &QAction::triggered, this, &MainWindow::handleAlignChange);
    }

    createViewActions();
}

void MainWindow::createMenus()
{
    fileMenu = menuBar()->addMenu(tr("&Fichier"));
    fileMenu->addAction(newAction);
    fileMenu->addAction(loadAction);
    recentFilesMenu = fileMenu->addMenu(tr("Fichiers récents"));
    connect(recentFilesMenu, &QMenu::aboutToShow, this, &MainWindow::fillRecentFilesMenu);
    fileMenu->addAction(saveAction);
    fileMenu->addAction(saveAsAction);
    fileMenu->addSeparator();
    fileMenu->addAction(toImageAction);
    fileMenu->addAction(toPDFAction);
    fileMenu->addAction(toSVGAction);
    fileMenu->addSeparator();
    fileMenu->addAction(exitAction);

    editMenu = menuBar()->addMenu(tr("&Édition"));
    editMenu->addAction(undoAction);
    editMenu->addAction(redoAction);
    editMenu->addSeparator();
    editMenu->addAction(copyAction);
    editMenu->addAction(pasteAction);
    editMenu->addAction(duplicateAction);
    editMenu->addAction(deleteAction);
    editMenu->addSeparator();
    editMenu->addAction(selectAllAction);

    // The context menus have no parent and live as long as the process; a
    // null entry stands for a separator.
    auto contextMenu = [](const QString &title, const QList<QAction *> &entries) {
        auto *menu = new QMenu(title);
        for (QAction *entry : entries) {
            if (entry)
                menu->addAction(entry);
            else
                menu->addSeparator();
        }
        return menu;
    };
    itemMenu = contextMenu(QStringLiteral("&Objet"),
                           {deleteAction, nullptr, toFrontAction, sendBackAction, unlinkAction,
                            copyAction, rotate0Action, rotate90Action, rotateMinus90Action,
                            rotate180Action, nullptr, itemNameAction, borderWidthAction,
                            borderColorAction});
    imageMenu = contextMenu(QStringLiteral("Image"),
                            {deleteAction, nullptr, toFrontAction, sendBackAction, copyAction,
                             rotate0Action, rotate90Action, rotateMinus90Action, rotate180Action,
                             nullptr, imageNameAction});
    textMenu = contextMenu(QStringLiteral("Texte"),
                           {deleteAction, nullptr, toFrontAction, sendBackAction, unlinkAction,
                            copyAction, nullptr, textNameAction, fontAction});
    arrowMenu = contextMenu(QStringLiteral("Flèche"),
                            {deleteAction, nullptr, toFrontAction, sendBackAction,
                             resetArrowAction, nullptr, arrowNameAction, arrowWidthAction});
    multiMenu = contextMenu(QStringLiteral("Plusieurs objets"),
                            {deleteAction, nullptr, toFrontAction, sendBackAction, copyAction});
    sceneMenu = contextMenu(QStringLiteral("Scène"), {pasteAction});

    createViewMenu();
}

QToolButton *MainWindow::createColorToolButton(const QString &image, const QColor &color)
{
    auto *button = new QToolButton;
    button->setPopupMode(QToolButton::MenuButtonPopup);
    button->setMenu(new QMenu(button));
    button->setIcon(createColorToolButtonIcon(image, color));
    return button;
}

void MainWindow::createToolbars()
{
    editToolBar = addToolBar(tr("Édition"));
    editToolBar->addAction(undoAction);
    editToolBar->addAction(redoAction);
    editToolBar->addAction(deleteAction);
    editToolBar->addAction(toFrontAction);
    editToolBar->addAction(sendBackAction);

    fontCombo = new QFontComboBox;
    fontCombo->setToolTip(tr("Police du texte"));
    connect(fontCombo, &QFontComboBox::currentFontChanged, this, &MainWindow::currentFontChanged);

    fontSizeCombo = new QComboBox;
    fontSizeCombo->setEditable(true);
    fontSizeCombo->setToolTip(tr("Taille du texte"));
    for (int size = 8; size < 30; size += 2)
        fontSizeCombo->addItem(QString::number(size));
    fontSizeCombo->setValidator(new QIntValidator(2, 64, fontSizeCombo));
    // The size new texts get, before any signal reaches the scene.
    fontSizeCombo->setCurrentText(QString::number(scene->font().pointSize()));
    connect(fontSizeCombo, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            [this] { fontSizeChanged(fontSizeCombo->currentText()); });

    fontColorToolButton = createColorToolButton(QStringLiteral(":/images/textpointer.png"),
                                                textColor);
    fontColorToolButton->setAutoFillBackground(true);
    fontColorToolButton->setToolTip(tr("Couleur du texte"));
    connect(fontColorToolButton, &QToolButton::clicked, this, &MainWindow::textButtonTriggered);
    connect(fontColorToolButton->menu(), &QMenu::aboutToShow, this, &MainWindow::chooseTextColor);

    fillColorToolButton = createColorToolButton(QStringLiteral(":/images/floodfill.png"),
                                                fillColor);
    fillColorToolButton->setToolTip(tr("Couleur de remplissage des formes"));
    connect(fillColorToolButton, &QToolButton::clicked, this, &MainWindow::fillButtonTriggered);
    connect(fillColorToolButton->menu(), &QMenu::aboutToShow, this, &MainWindow::chooseItemColor);

    lineColorToolButton = createColorToolButton(QStringLiteral(":/images/linecolor.png"),
                                                lineColor);
    lineColorToolButton->setToolTip(tr("Couleur des flèches"));
    connect(lineColorToolButton, &QToolButton::clicked, this, &MainWindow::lineButtonTriggered);
    connect(lineColorToolButton->menu(), &QMenu::aboutToShow, this, &MainWindow::chooseLineColor);

    textToolBar = addToolBar(tr("Police"));
    textToolBar->addWidget(fontCombo);
    textToolBar->addWidget(fontSizeCombo);
    for (QAction *action : {boldAction, italicAction, underlineAction, leftAlignAction,
                            centerAlignAction, rightAlignAction, justifyAction})
        textToolBar->addAction(action);

    colorToolBar = addToolBar(tr("Couleur"));
    colorToolBar->addWidget(fontColorToolButton);
    colorToolBar->addWidget(fillColorToolButton);
    colorToolBar->addWidget(lineColorToolButton);

    createPointerToolbar();
    createViewToolBar();
    createItemList();
}

void MainWindow::currentFontChanged(QFont)
{
    handleFontChange();
}

void MainWindow::fontSizeChanged(QString)
{
    handleFontChange();
}

// The toolbars set the defaults of new items and change the selected items
// of the kind they apply to, all of them.
void MainWindow::handleFontChange()
{
    QFont font = fontCombo->currentFont();
    font.setPointSize(fontSizeCombo->currentText().toInt());
    font.setWeight(boldAction->isChecked() ? QFont::Bold : QFont::Normal);
    font.setItalic(italicAction->isChecked());
    font.setUnderline(underlineAction->isChecked());
    scene->setFont(font);
    applyToSelection(DiagramObject::Property::Font, font);
}

void MainWindow::handleAlignChange()
{
    Qt::Alignment alignment = Qt::AlignLeft;
    if (justifyAction->isChecked())
        alignment = Qt::AlignJustify;
    else if (centerAlignAction->isChecked())
        alignment = Qt::AlignCenter;
    else if (rightAlignAction->isChecked())
        alignment = Qt::AlignRight;
    scene->setTextAlignment(int(alignment));
    applyToSelection(DiagramObject::Property::Alignment, int(alignment));
}

void MainWindow::textSelected(QGraphicsItem *item)
{
    if (!item || item->type() != DiagramTextItem::Type)
        return;
    auto *text = static_cast<DiagramTextItem *>(item);
    // Showing the text's format must not feed back into the scene. Only the
    // two combo boxes report programmatic changes; the actions' triggered()
    // answers the user alone.
    const QSignalBlocker fontBlocker(fontCombo);
    const QSignalBlocker sizeBlocker(fontSizeCombo);
    const QFont font = text->font();
    fontCombo->setCurrentFont(font);
    fontSizeCombo->setEditText(QString::number(font.pointSize()));
    boldAction->setChecked(font.weight() == QFont::Bold);
    italicAction->setChecked(font.style() != QFont::StyleNormal);
    underlineAction->setChecked(font.underline());
    switch (text->alignment()) {
    case Qt::AlignRight:
        rightAlignAction->setChecked(true);
        break;
    case Qt::AlignLeft:
        leftAlignAction->setChecked(true);
        break;
    case Qt::AlignJustify:
        justifyAction->setChecked(true);
        break;
    case Qt::AlignCenter:
        centerAlignAction->setChecked(true);
        break;
    default:
        break;
    }
}

void MainWindow::textButtonTriggered()
{
    scene->setTextColor(textColor);
    applyToSelection(DiagramObject::Property::TextColor, textColor);
}

void MainWindow::fillButtonTriggered()
{
    scene->setItemColor(fillColor);
    applyToSelection(DiagramObject::Property::FillColor, fillColor);
}

void MainWindow::lineButtonTriggered()
{
    scene->setLineColor(lineColor);
    applyToSelection(DiagramObject::Property::LineColor, lineColor);
}

void MainWindow::textColorChanged()
{
    fontColorToolButton->setIcon(
        createColorToolButtonIcon(QStringLiteral(":/images/textpointer.png"), textColor));
    textButtonTriggered();
}

void MainWindow::itemColorChanged()
{
    fillColorToolButton->setIcon(
        createColorToolButtonIcon(QStringLiteral(":/images/floodfill.png"), fillColor));
    fillButtonTriggered();
}

void MainWindow::lineColorChanged()
{
    lineColorToolButton->setIcon(
        createColorToolButtonIcon(QStringLiteral(":/images/linecolor.png"), lineColor));
    lineButtonTriggered();
}

namespace {

// Asks for a colour starting from `current`; true and `current` updated
// unless the user cancelled.
bool askColor(QColor &current, QWidget *parent)
{
    const QColor chosen = Dialogs::instance()->color(current, parent);
    if (!chosen.isValid())
        return false;
    current = chosen;
    return true;
}

} // namespace

void MainWindow::chooseTextColor()
{
    if (askColor(textColor, this))
        textColorChanged();
}

void MainWindow::chooseItemColor()
{
    if (askColor(fillColor, this))
        itemColorChanged();
}

void MainWindow::chooseLineColor()
{
    if (askColor(lineColor, this))
        lineColorChanged();
}

LineInputActionWidget *MainWindow::nameRowOf(DiagramObject::Kind kind) const
{
    switch (kind) {
    case DiagramObject::Kind::Shape: return itemNameAction;
    case DiagramObject::Kind::Picture:
    case DiagramObject::Kind::Formula: return imageNameAction;
    case DiagramObject::Kind::Text: return textNameAction;
    case DiagramObject::Kind::Arrow: break;
    }
    return arrowNameAction;
}

QMenu *MainWindow::menuOf(DiagramObject::Kind kind) const
{
    switch (kind) {
    case DiagramObject::Kind::Shape: return itemMenu;
    case DiagramObject::Kind::Picture:
    case DiagramObject::Kind::Formula: return imageMenu;
    case DiagramObject::Kind::Text: return textMenu;
    case DiagramObject::Kind::Arrow: break;
    }
    return arrowMenu;
}

void MainWindow::fillPropertyWidgets(const DiagramObject *object)
{
    // Silent setters: showing an object's values changes nothing.
    nameRowOf(object->kind())->setText(object->name());
    const QVariant border = object->value(DiagramObject::Property::Border);
    if (border.isValid()) {
        borderWidthAction->setValue(border.value<QPen>().width());
        borderColorAction->setColor(border.value<QPen>().color());
    }
    const QVariant arrowSize = object->value(DiagramObject::Property::ArrowSize);
    if (arrowSize.isValid())
        arrowWidthAction->setValue(arrowSize.toInt());
}

void MainWindow::showContextMenu(DiagramObject *object, const QPoint &screenPosition)
{
    fillPropertyWidgets(object);
    menuOf(object->kind())->exec(screenPosition);
}

void MainWindow::showSceneMenu(const QPoint &screenPosition)
{
    const QScopedValueRollback<bool> onPoint(pasteOnMenuPoint, true);
    sceneMenu->exec(screenPosition);
}
