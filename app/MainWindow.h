#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include "app/DiagramView.h"
#include "io/ItemCopy.h"
#include "scene/DiagramObject.h"
#include "scene/SceneBackground.h"

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QMainWindow>
#include <QNetworkReply>
#include <QString>

#include <functional>

class Arrow;
class AutoSaver;
class ColorActionWidget;
class DiagramDocument;
class DiagramImage;
class DiagramItem;
class DiagramScene;
class DiagramTextItem;
class LineInputActionWidget;
class ListWidget;
struct ReadReport;
class RecoveryFile;
class SceneText;
class SpinboxActionWidget;
class Updater;
class ZoomBox;

class QAbstractButton;
class QAction;
class QButtonGroup;
class QCloseEvent;
class QComboBox;
class QFontComboBox;
class QGraphicsItem;
class QListWidgetItem;
class QImage;
class QJsonArray;
class QMenu;
class QPen;
class QToolBar;
class QToolBox;
class QToolButton;
class QUndoGroup;
class QWidget;

// The one top-level window: owns the scene and its view, the tool box, the
// item list, the menus, toolbars and property widget actions, and the
// commands that act on the scene's selection.
//
// The source is split by concern, like this header:
//   MainWindow.cpp          construction, tool box, layout, modes, insertions
//   MainWindow_actions.cpp  actions, menus, toolbars, font and colour controls
//   MainWindow_edit.cpp     commands on the selection
//   MainWindow_list.cpp     keeping the item list in step with the scene
//   MainWindow_file.cpp     save, load, new scene, the unsaved-changes
//                           question, recent files, title
//   MainWindow_recovery.cpp autosave and recovery after a crash
//   MainWindow_export.cpp   picture, PDF and SVG export
//   MainWindow_update.cpp   update check
//   MainWindow_math.cpp     formula editor
//   MainWindow_view.cpp     zoom actions, view menu and zoom box
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    MainWindow();
    ~MainWindow() override;

    // Replaces the scene with the file's, as "Charger" does once a file is
    // chosen; a file that cannot be read is reported in a box and leaves
    // the scene as it was. Does not ask about unsaved changes.
    bool openFile(const QString &fileName);

    // Offers, one by one, the recovery files of earlier runs that ended
    // without a normal quit; the first the user recovers becomes the
    // window's document. Call once the window shows, before any change.
    void offerRecovery();

    // Icon of a colour button: the 42 x 43 picture above a bar of `color`.
    static QIcon createColorToolButtonIcon(const QString &imageFile, const QColor &color);

private slots:
    // Update check (MainWindow_update.cpp)
    void parseUpdateInfos(QNetworkReply *reply);
    void applyUpdate(QString pathUpdate);

    // Tool box and modes (MainWindow.cpp)
    void backgroundButtonGroupClicked(QAbstractButton *button);
    void buttonGroupClicked(int id);

    // Selection commands (MainWindow_edit.cpp)
    void deleteItem();
    // Undo and redo end a text's editing first, and wait for a drag to end.
    void undo();
    void redo();

    void pointerGroupClicked(int id);

    void bringToFront();
    void sendToBack();

    // Insertions reported by the scene (MainWindow.cpp)
    void itemInserted(DiagramItem *item);
    void textInserted(DiagramTextItem *item);
    void arrowInserted(Arrow *arrow);

    // Item list (MainWindow_list.cpp)
    void itemsLinked(DiagramTextItem *textItem, DiagramItem *item);

    // Font and colour controls (MainWindow_actions.cpp)
    void currentFontChanged(QFont font);
    void fontSizeChanged(QString size);
    void textColorChanged();
    void itemColorChanged();
    void lineColorChanged();

    void borderColorChanged(QColor color);

    void textButtonTriggered();
    void fillButtonTriggered();
    void lineButtonTriggered();
    void handleFontChange();
    void handleAlignChange();
    void textSelected(QGraphicsItem *item);

    // Formula editor (MainWindow_math.cpp)
    void showDialogMath();

    void mathInserted(DiagramImage *item);
    void imageInserted(DiagramImage *item);

    // Export (MainWindow_export.cpp)
    void toImage();
    void toPDF();
    void toSVG();

    void changeBorderSize(int size);

    void chooseTextColor();
    void chooseItemColor();
    void chooseLineColor();

    void chooseBackgroundColor();

    void resetArrow();

    // Scene files (MainWindow_file.cpp); false when nothing was saved.
    bool save();
    bool saveAs();
    void load();
    void createNewScene();

    // Checks the background button `id` and unchecks the others; an id no
    // button has (24) clears them all.
    void checkButton(int id);

    void setArrowWidth(int width);
    void setTextFont();
    void unlinkItem();
    void centerView();

    void listItemSelectionChanged();
    QGraphicsItem *getItemById(int idToFind);

    void copy();
    void paste();
    void duplicate();
    void selectAll();

    // Connects the current scene's signals; run again for every new scene.
    void connectScene();

    void changeName(QString name);
    void itemChangedName(QString name, int id);
    QListWidgetItem *findListItemById(int id);
    void itemSelectionChanged();

    void setRotate0();
    void setRotate90();
    void setRotateMinus90();
    void setRotate180();

    void updateItemInList(QGraphicsItem *item);

    // Context menus (MainWindow_actions.cpp): the object's menu, filled
    // with its values, or the menu of empty space.
    void showContextMenu(DiagramObject *object, const QPoint &screenPosition);
    void showSceneMenu(const QPoint &screenPosition);
    // A double click: a formula opens in its editor, a shape's text is
    // edited (made and linked first when it has none).
    void editObject(DiagramObject *object);
    // Pictures dropped on the scene are placed where they fall; a scene file
    // is opened.
    void filesDropped(const QStringList &paths, const QPointF &position);
    // Esc: back to the pointer, no insertion tool chosen.
    void backToPointer();

protected:
    // Asks about unsaved changes first (MainWindow_file.cpp).
    void closeEvent(QCloseEvent *event) override;

private:
    // Construction (MainWindow.cpp, MainWindow_actions.cpp)
    void createActions();
    void createToolBox();
    void createMenus();
    void createToolbars();
    void createPointerToolbar();
    void createItemList();
    void createCentralLayout();
    QWidget *createCellWidget(const QString &text, int type);
    QWidget *createPictureCellWidget(const QString &text, const QString &image, int id);
    QWidget *createBackgroundCellWidget(const QString &text, const QString &image, int id);
    QToolButton *createColorToolButton(const QString &image, const QColor &color);
    void setSceneMode(int mode);
    // As one step of the history.
    void changeBackground(const SceneBackground &background);
    void choosePicture();
    void resetModeAfterInsertion(int insertionButtonId);
    void uncheckInsertionButton(int id);

    // Property widgets (MainWindow_actions.cpp)
    void fillPropertyWidgets(const DiagramObject *object);
    LineInputActionWidget *nameRowOf(DiagramObject::Kind kind) const;
    QMenu *menuOf(DiagramObject::Kind kind) const;

    // Selection commands (MainWindow_edit.cpp)
    void unlinkPair(DiagramTextItem *text, DiagramItem *shape);
    void stackSelection(bool toFront);
    void rotateSelection(int degrees);
    // Gives `value` to every selected object that has the property.
    void applyToSelection(DiagramObject::Property property, const QVariant &value);
    // Changes the border of every selected shape as one step.
    void changeBorder(const std::function<void(QPen &)> &change, bool mergeable);
    void stepHistory(void (QUndoGroup::*step)());
    // Pastes copied file objects as new objects, one step, selected.
    void insertCopies(const QJsonArray &items, const PastePlacement &placement);
    void pastePicture(const QImage &image, const QPointF &point);
    void startEditing(DiagramTextItem *text);
    void editFormula(DiagramImage *formula);
    // The scene point in the middle of the view.
    QPointF viewCentre() const;

    // Scene files (MainWindow_file.cpp)
    DiagramDocument *newDocument();
    // Makes `fresh` the window's document, with an empty list, and lets the
    // old one go.
    void installDocument(DiagramDocument *fresh);
    // Title, modified mark and autosave follow the current document.
    void followDocument();
    // A new document read from the file, or null after a box saying why
    // not. `text` receives the file's text, whose members stay readable.
    DiagramDocument *readScene(const QString &fileName, SceneText *text,
                               QList<DiagramObject *> *itemsRead, ReadReport *report);
    // Installs a document just read, with its list entries, background
    // button and view, and reports what had to be corrected.
    void showReadDocument(DiagramDocument *read, const QList<DiagramObject *> &itemsRead,
                          const ReadReport &report);
    bool saveTo(const QString &fileName);
    // "Convertir en PDF" and "Convertir en SVG": `write` writes the scene
    // to the chosen file in that format.
    void exportDocument(const QString &format, const QString &filter,
                        const std::function<bool(const QString &, QString *)> &write);
    // True when the document may go: it has no unsaved changes, or the
    // user saved them or chose to give them up.
    bool maybeSave();
    // The file's name, or "Sans titre".
    QString documentName() const;
    void updateTitle();
    void fillRecentFilesMenu();
    void openRecentFile(const QString &fileName);

    // Recovery (MainWindow_recovery.cpp): makes the recovery file the
    // window's document; false, after a box, when it cannot be read.
    bool recover(RecoveryFile &file);

    // Zoom (MainWindow_view.cpp): the actions, the "Affichage" menu and
    // toolbar, each called from the builder of its kind; the view's signals
    // once the view exists.
    void createViewActions();
    void createViewMenu();
    void createViewToolBar();
    void connectView();

    // Update check (MainWindow_update.cpp): sends the request; the last step
    // of the constructor.
    void startUpdateCheck();

    // The open diagram and its scene (document->scene()).
    DiagramDocument *document = nullptr;
    DiagramScene *scene = nullptr;
    // Undo and redo follow the open document's history.
    QUndoGroup *undoGroup = nullptr;
    DiagramView *view = nullptr;
    ListWidget *listWidget = nullptr;

    // File commands
    QAction *exitAction = nullptr;
    QAction *newAction = nullptr;
    QAction *saveAction = nullptr;
    QAction *saveAsAction = nullptr;
    QAction *loadAction = nullptr;
    QAction *toImageAction = nullptr;
    QAction *toPDFAction = nullptr;
    QAction *toSVGAction = nullptr;

    // Edit commands
    QAction *undoAction = nullptr;
    QAction *redoAction = nullptr;
    QAction *deleteAction = nullptr;
    QAction *copyAction = nullptr;
    QAction *duplicateAction = nullptr;
    QAction *selectAllAction = nullptr;
    QAction *pasteAction = nullptr;
    QAction *resetArrowAction = nullptr;

    // Property widget actions of the context menus (created without parent)
    SpinboxActionWidget *borderWidthAction = nullptr;
    SpinboxActionWidget *arrowWidthAction = nullptr;
    ColorActionWidget *borderColorAction = nullptr;
    LineInputActionWidget *itemNameAction = nullptr;
    LineInputActionWidget *imageNameAction = nullptr;
    LineInputActionWidget *textNameAction = nullptr;
    LineInputActionWidget *arrowNameAction = nullptr;

    // Further commands
    QAction *fontAction = nullptr;
    QAction *unlinkAction = nullptr;
    QAction *centerViewAction = nullptr;
    QAction *rotate0Action = nullptr;
    QAction *rotate90Action = nullptr;
    QAction *rotateMinus90Action = nullptr;
    QAction *rotate180Action = nullptr;
    QAction *toFrontAction = nullptr;
    QAction *sendBackAction = nullptr;

    // Zoom
    QAction *zoomInAction = nullptr;
    QAction *zoomOutAction = nullptr;
    QAction *zoomResetAction = nullptr;
    QAction *fitToWindowAction = nullptr;
    QMenu *viewMenu = nullptr;
    QToolBar *viewToolBar = nullptr;
    ZoomBox *zoomBox = nullptr;

    // Menus: the menu bar's one menu, and the context menus (without parent)
    QMenu *fileMenu = nullptr;
    QMenu *recentFilesMenu = nullptr;
    QMenu *editMenu = nullptr;
    QMenu *itemMenu = nullptr;
    QMenu *imageMenu = nullptr;
    QMenu *textMenu = nullptr;
    QMenu *arrowMenu = nullptr;
    QMenu *sceneMenu = nullptr;
    QMenu *multiMenu = nullptr;

    // Toolbars and their controls
    QToolBar *textToolBar = nullptr;
    QToolBar *editToolBar = nullptr;
    QToolBar *colorToolBar = nullptr;
    QToolBar *pointerToolbar = nullptr;
    QComboBox *fontSizeCombo = nullptr;
    QFontComboBox *fontCombo = nullptr;

    // Tool box
    QToolBox *toolBox = nullptr;
    QButtonGroup *buttonGroup = nullptr;
    QButtonGroup *pointerTypeGroup = nullptr;
    QButtonGroup *backgroundButtonGroup = nullptr;

    // Colour buttons and text format actions
    QToolButton *fontColorToolButton = nullptr;
    QToolButton *fillColorToolButton = nullptr;
    QToolButton *lineColorToolButton = nullptr;
    QAction *boldAction = nullptr;
    QAction *underlineAction = nullptr;
    QAction *italicAction = nullptr;
    QAction *rightAlignAction = nullptr;
    QAction *leftAlignAction = nullptr;
    QAction *centerAlignAction = nullptr;
    QAction *justifyAction = nullptr;

    QColor textColor;
    QColor fillColor;
    QColor lineColor;
    QColor backgroundColor;

    // Document and update state
    AutoSaver *autoSaver = nullptr;
    QString version;
    Updater *updater = nullptr;
    bool isMajorUpdate = false;

    // Set while a selection is copied between the list and the scene.
    bool syncingSelection = false;
    // Set while the menu of empty space is open: its "Coller" pastes on the
    // point clicked.
    bool pasteOnMenuPoint = false;
};

#endif // MAINWINDOW_H
