#ifndef DIAGRAMSCENE_H
#define DIAGRAMSCENE_H

#include "scene/DiagramItem.h"
#include "scene/SceneBackground.h"
#include "scene/SceneCounters.h"

#include <QColor>
#include <QFont>
#include <QGraphicsScene>
#include <QHash>
#include <QList>
#include <QPixmap>
#include <QPointF>
#include <QPointer>
#include <QSet>
#include <QSize>

#include <map>

class Arrow;
class DiagramImage;
class DiagramObject;
class DiagramTextItem;
class QGraphicsLineItem;
class QUndoCommand;
class QUndoStack;

// The diagram scene: inserts shapes, arrows, texts, pictures and formulas
// by mouse according to its mode, links texts to shapes, gives every item
// its id, default name and place in the item list, keeps the drawing
// defaults and the background, copies and pastes, and reports every
// insertion, removal and context menu request by signals. It knows nothing
// of the window: menus and property widgets are the window's business.
class DiagramScene : public QGraphicsScene
{
    Q_OBJECT

public:
    enum Mode { InsertItem, InsertLine, InsertText, InsertPixmap, MoveItem, LinkText };

    explicit DiagramScene(QObject *parent = nullptr);
    ~DiagramScene() override;

    // The history every change goes through (not owned); null for a scene
    // without one, whose changes are simply made.
    QUndoStack *undoStack() const { return m_undoStack; }
    void setUndoStack(QUndoStack *stack) { m_undoStack = stack; }
    // Does the command and records it in the history, or only does it when
    // there is none (the command is then destroyed). Empty property
    // changes are dropped.
    void push(QUndoCommand *command);
    // A mouse button is down on the scene: a drag may be under way, and the
    // history must not change under it.
    bool isMouseDown() const { return isPressed || mouseGrabberItem(); }

    // The zoom of the view showing the scene: the handles of selected items
    // undo it to keep their size on screen. Views that zoom tell the scene.
    qreal handleZoom() const { return m_handleZoom; }
    void setHandleZoom(qreal zoom);
    // Grows the scene's rectangle, if need be, to cover `area` with room to
    // spare. Qt's index divides that rectangle: items beyond it pile up in
    // its edge cells, which every query near them scans. Each change
    // rebuilds the index, hence the room.
    void growToCover(const QRectF &area);

    Mode mode() const { return m_mode; }
    DiagramItem::DiagramType itemType() const { return m_itemType; }

    // Drawing defaults for new items.
    QFont font() const { return m_font; }
    void setFont(const QFont &font);
    QColor textColor() const { return m_textColor; }
    void setTextColor(const QColor &color);
    QColor itemColor() const { return m_itemColor; }
    void setItemColor(const QColor &color);
    QColor lineColor() const { return m_lineColor; }
    void setLineColor(const QColor &color);
    int textAlignment() const { return m_textAlignment; }
    void setTextAlignment(int alignment);

    // What the next InsertPixmap press places.
    QPixmap pixmapToAdd() const { return m_pixmapToAdd; }
    QString pathToAdd() const { return m_pathToAdd; }
    bool isMathToAdd() const { return m_isMathToAdd; }

    // The background description, as saved in scene files and used by export.
    void setBackground(const QBrush &brush, bool transparent, bool colour, bool picture,
                       const QString &path, const QColor &color);
    void setBackground(const SceneBackground &background);
    SceneBackground background() const;
    bool isTransparent() const { return m_transparent; }
    bool isColorBackground() const { return m_colorBackground; }
    bool isPictureBackground() const { return m_pictureBackground; }
    QString backgroundPath() const { return m_backgroundPath; }
    QColor backgroundColor() const { return m_backgroundColor; }

    // Name counters (the number in the next default name of each kind) and
    // nbItems, the id the next item receives.
    int nbCarre() const { return m_counters.nbCarre; }
    void setNbCarre(int n) { m_counters.nbCarre = n; }
    int nbRoundedCarre() const { return m_counters.nbRoundedCarre; }
    void setNbRoundedCarre(int n) { m_counters.nbRoundedCarre = n; }
    int nbTriangle() const { return m_counters.nbTriangle; }
    void setNbTriangle(int n) { m_counters.nbTriangle = n; }
    int nbRectangle() const { return m_counters.nbRectangle; }
    void setNbRectangle(int n) { m_counters.nbRectangle = n; }
    int nbRoundedRectangle() const { return m_counters.nbRoundedRectangle; }
    void setNbRoundedRectangle(int n) { m_counters.nbRoundedRectangle = n; }
    int nbPentagone() const { return m_counters.nbPentagone; }
    void setNbPentagone(int n) { m_counters.nbPentagone = n; }
    int nbCercle() const { return m_counters.nbCercle; }
    void setNbCercle(int n) { m_counters.nbCercle = n; }
    int nbText() const { return m_counters.nbText; }
    void setNbText(int n) { m_counters.nbText = n; }
    int nbMath() const { return m_counters.nbMath; }
    void setNbMath(int n) { m_counters.nbMath = n; }
    int nbImage() const { return m_counters.nbImage; }
    void setNbImage(int n) { m_counters.nbImage = n; }
    int nbItems() const { return m_counters.nbItems; }
    void setNbItems(int n) { m_counters.nbItems = n; }
    int nbArrows() const { return m_counters.nbArrows; }
    void setNbArrows(int n) { m_counters.nbArrows = n; }
    SceneCounters counters() const { return m_counters; }
    void setCounters(const SceneCounters &counters) { m_counters = counters; }

    // New items, not yet added to the scene.
    DiagramItem *newShape(DiagramItem::DiagramType type) const;
    DiagramTextItem *newText() const;
    DiagramImage *newImage() const;
    Arrow *newArrow(QGraphicsItem *startItem, QGraphicsItem *endItem, int arrowSize) const;

    // Makes the signal connections an inserted text gets, enters the item
    // in the id index and, the first time, gives it its place at the end
    // of the item list. Call once the item is in the scene with its final
    // id; the scene does it for what it inserts, the file reader for what
    // it rebuilds.
    void registerItem(QGraphicsItem *item);
    // The registered shape, picture/formula, text or arrow of this scene
    // with that id, or null. A hash lookup: items removed or destroyed
    // since are never returned.
    QGraphicsItem *itemById(int id) const;
    // Every shape, picture, formula, text and arrow of the scene, in the
    // order of the item list.
    QList<DiagramObject *> objects() const;

    // Takes objects out of the scene without destroying them (whoever
    // removes them keeps them, to put them back), and puts them back with
    // their ids, names and places in the list. Announced by objectsRemoved
    // before and objectsRestored after.
    void removeObjects(const QList<DiagramObject *> &objects);
    void restoreObjects(const QList<DiagramObject *> &objects);

    // The picture of a formula typeset at 20 points in the XITS fonts, with
    // room added for the commands whose glyphs overhang their box.
    static QPixmap renderFormula(const QString &formula);

    // Adds an item rebuilt from a file (if it is not in the scene yet),
    // registers it and announces it as an insertion of its kind.
    void addLoadedItem(QGraphicsItem *item);
    // Links the text to the shape unless either is linked to another item,
    // puts the shape's list entry right after the text's, and announces the
    // link; false when they are not linked to each other.
    bool linkText(DiagramTextItem *text, DiagramItem *shape);
    // Undoes a link; the shape's entry stays where it is.
    void unlinkText(DiagramTextItem *text, DiagramItem *shape);
    // Links them again without moving the shape's entry, as undo does.
    void restoreLink(DiagramTextItem *text, DiagramItem *shape);
    // Puts an object's entry back at a list place it had.
    void moveInList(DiagramObject *object, double listKey);

    // New items placed as the insertion tools place them, each recorded as
    // one step: a text holding `content`, a picture or formula (none for a
    // null pixmap, which nobody could see).
    DiagramTextItem *insertText(const QPointF &position, const QString &content);
    DiagramImage *insertPicture(const QString &path, const QPixmap &pixmap, bool isMath,
                                const QPointF &position);
    // An empty text on the shape, linked to it, as one step; left empty, it
    // goes again and so does the step.
    DiagramTextItem *insertLabel(DiagramItem *shape);
    // Records objects just added (by the scene or by pasting) as one step;
    // `countersBefore` are the counters before they took their ids.
    void recordInsertion(const QList<DiagramObject *> &objects, const SceneCounters &countersBefore);
    // Where the menu of empty space was last asked for: what its "Coller"
    // pastes on.
    QPointF menuPosition() const { return pastePosition; }

    // Called by the objects themselves.
    void notifyRenamed(DiagramObject *object);
    void requestContextMenu(DiagramObject *object, const QPoint &screenPosition);
    void requestEdit(DiagramObject *object);

public slots:
    void setMode(DiagramScene::Mode mode);
    void setItemType(DiagramItem::DiagramType type);
    void editorLostFocus(DiagramTextItem *item);
    // One argument: a picture file, loaded here. With a pixmap: a formula
    // whose text is path.
    void setPixmapToAdd(const QString &path, const QPixmap &pixmap = QPixmap());

signals:
    void itemInserted(DiagramItem *item);
    void textInserted(DiagramTextItem *item);
    void mathInserted(DiagramImage *item);
    void imageInserted(DiagramImage *item);
    void textSelected(QGraphicsItem *item);
    void arrowInserted(Arrow *arrow);
    void itemsLinked(DiagramTextItem *text, DiagramItem *item);
    void itemNameChanged(QGraphicsItem *item);
    void objectsRemoved(const QList<DiagramObject *> &objects);
    // An object's entry moved in the list (its key changed).
    void listPlaceChanged(DiagramObject *object);
    void objectsRestored(const QList<DiagramObject *> &objects);
    // The window shows the menu of the object's kind, or of empty space.
    void contextMenuRequested(DiagramObject *object, const QPoint &screenPosition);
    void sceneMenuRequested(const QPoint &screenPosition);
    // A double click on a formula or a shape.
    void editRequested(DiagramObject *object);
    // Files dropped from a file manager, at a scene point.
    void filesDropped(const QStringList &paths, const QPointF &position);
    // Esc: the editing or drag under way has ended; the window goes back
    // to the pointer.
    void escapePressed();

protected:
    void contextMenuEvent(QGraphicsSceneContextMenuEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void dragEnterEvent(QGraphicsSceneDragDropEvent *event) override;
    void dragMoveEvent(QGraphicsSceneDragDropEvent *event) override;
    void dropEvent(QGraphicsSceneDragDropEvent *event) override;
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *event) override;

private:
    // A scene item that may be destroyed behind the scene's back: the guard
    // turns null when it goes.
    struct TrackedItem {
        QPointer<QObject> guard;
        QGraphicsItem *item;
    };
    static TrackedItem track(QGraphicsItem *item);
    bool isLive(const TrackedItem &tracked) const;
    // Emits the insertion signal of the object's kind.
    void announceInsertion(DiagramObject *object);
    // A drag of items or handles: what it may change, as it was at the
    // press, recorded as one step at the release.
    void beginDragRecord();
    void endDragRecord();
    void setListKey(DiagramObject *object, double key);

    void removeEmptiedText(DiagramTextItem *text);
    // A new text, added and announced, not recorded.
    DiagramTextItem *makeText(const QPointF &position, const QString &content);
    bool nudgeSelection(QKeyEvent *event);
    void cancelDrag();
    QList<DiagramObject *> movingWithSelection() const;
    void insertPixmap(const QPointF &position);
    void updatePreview();
    void insertShape(const QPointF &releasePosition);
    int &shapeCounter(DiagramItem::DiagramType type);
    void finishArrow();
    void finishLink();
    QGraphicsItem *topItemAt(const QPointF &point, const QGraphicsItem *ignored) const;

    Mode m_mode = MoveItem;
    DiagramItem::DiagramType m_itemType = DiagramItem::Carre;
    QFont m_font;
    QColor m_textColor = Qt::black;
    QColor m_itemColor = Qt::white;
    QColor m_lineColor = Qt::black;
    int m_textAlignment = 0;

    QPixmap m_pixmapToAdd;
    QString m_pathToAdd;
    bool m_isMathToAdd = false;

    bool m_transparent = false;
    bool m_colorBackground = false;
    bool m_pictureBackground = false;
    QString m_backgroundPath;
    QColor m_backgroundColor;

    SceneCounters m_counters;

    QPointF pastePosition;

    QPointF pressPosition;
    QPointF currentPosition;
    bool isPressed = false;
    bool isDragging = false;
    DiagramItem *previewItem = nullptr;
    QGraphicsLineItem *arrowLine = nullptr;
    QGraphicsLineItem *linkLine = nullptr;

    QUndoStack *m_undoStack = nullptr;
    qreal m_handleZoom = 1.0;
    struct DragRecord {
        QList<DiagramObject *> objects;
        QList<DiagramObject::Property> properties;
        QList<QVariant> before;
    } dragRecord;

    // id -> registered items; stale entries are dropped when met.
    mutable QMultiHash<int, TrackedItem> idIndex;
    // The objects in the scene by list key, which is also the list's order;
    // tracked, as an item deleted outright must not be handed out again.
    std::map<double, TrackedItem> listOrder;
    double lastListKey = 0.0;
};

#endif // DIAGRAMSCENE_H
