#ifndef DIAGRAMSCENE_H
#define DIAGRAMSCENE_H

#include "scene/DiagramItem.h"

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
    bool isTransparent() const { return m_transparent; }
    bool isColorBackground() const { return m_colorBackground; }
    bool isPictureBackground() const { return m_pictureBackground; }
    QString backgroundPath() const { return m_backgroundPath; }
    QColor backgroundColor() const { return m_backgroundColor; }

    // Name counters (the number in the next default name of each kind) and
    // nbItems, the id the next item receives.
    int nbCarre() const { return m_nbCarre; }
    void setNbCarre(int n) { m_nbCarre = n; }
    int nbRoundedCarre() const { return m_nbRoundedCarre; }
    void setNbRoundedCarre(int n) { m_nbRoundedCarre = n; }
    int nbTriangle() const { return m_nbTriangle; }
    void setNbTriangle(int n) { m_nbTriangle = n; }
    int nbRectangle() const { return m_nbRectangle; }
    void setNbRectangle(int n) { m_nbRectangle = n; }
    int nbRoundedRectangle() const { return m_nbRoundedRectangle; }
    void setNbRoundedRectangle(int n) { m_nbRoundedRectangle = n; }
    int nbPentagone() const { return m_nbPentagone; }
    void setNbPentagone(int n) { m_nbPentagone = n; }
    int nbCercle() const { return m_nbCercle; }
    void setNbCercle(int n) { m_nbCercle = n; }
    int nbText() const { return m_nbText; }
    void setNbText(int n) { m_nbText = n; }
    int nbMath() const { return m_nbMath; }
    void setNbMath(int n) { m_nbMath = n; }
    int nbImage() const { return m_nbImage; }
    void setNbImage(int n) { m_nbImage = n; }
    int nbItems() const { return m_nbItems; }
    void setNbItems(int n) { m_nbItems = n; }
    int nbArrows() const { return m_nbArrows; }
    void setNbArrows(int n) { m_nbArrows = n; }

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
    static QSize formulaMargins(const QString &formula);

    // Adds an item rebuilt from a file (if it is not in the scene yet),
    // registers it and announces it as an insertion of its kind.
    void addLoadedItem(QGraphicsItem *item);
    // Links the text to the shape unless either is linked to another item,
    // puts the shape's list entry right after the text's, and announces the
    // link; false when they are not linked to each other.
    bool linkText(DiagramTextItem *text, DiagramItem *shape);
    // Undoes a link; the shape's entry stays where it is.
    void unlinkText(DiagramTextItem *text, DiagramItem *shape);

    // Called by the objects themselves.
    void notifyRenamed(DiagramObject *object);
    void requestContextMenu(DiagramObject *object, const QPoint &screenPosition);

public slots:
    void setMode(DiagramScene::Mode mode);
    void setItemType(DiagramItem::DiagramType type);
    void editorLostFocus(DiagramTextItem *item);
    // One argument: a picture file, loaded here. With a pixmap: a formula
    // whose text is path.
    void setPixmapToAdd(const QString &path, const QPixmap &pixmap = QPixmap());
    void copy();
    void paste();

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
    void objectsRestored(const QList<DiagramObject *> &objects);
    // The window shows the menu of the object's kind, or of empty space.
    void contextMenuRequested(DiagramObject *object, const QPoint &screenPosition);
    void sceneMenuRequested(const QPoint &screenPosition);

protected:
    void contextMenuEvent(QGraphicsSceneContextMenuEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
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

    void insertText(const QPointF &position);
    void insertPixmap(const QPointF &position);
    void updatePreview();
    void insertShape(const QPointF &releasePosition);
    int &shapeCounter(DiagramItem::DiagramType type);
    void finishArrow();
    void finishLink();
    QGraphicsItem *topItemAt(const QPointF &point, const QGraphicsItem *ignored) const;
    // Names already used, per item type number, for de-duplicating pastes.
    QHash<int, QSet<QString>> namesByType() const;
    // The new item, or null for kinds that do not paste.
    QGraphicsItem *pasteItem(QGraphicsItem *source, const QPointF &position, const QString &name);

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

    int m_nbCarre = 0;
    int m_nbRoundedCarre = 0;
    int m_nbTriangle = 0;
    int m_nbRectangle = 0;
    int m_nbRoundedRectangle = 0;
    int m_nbPentagone = 0;
    int m_nbCercle = 0;
    int m_nbText = 0;
    int m_nbMath = 0;
    int m_nbImage = 0;
    int m_nbItems = 0;
    int m_nbArrows = 0;

    // Not owning; an entry whose item has gone is never pasted.
    QList<TrackedItem> copiedItems;
    bool pasteAtPosition = false;
    QPointF pastePosition;

    QPointF pressPosition;
    QPointF currentPosition;
    bool isPressed = false;
    bool isDragging = false;
    DiagramItem *previewItem = nullptr;
    QGraphicsLineItem *arrowLine = nullptr;
    QGraphicsLineItem *linkLine = nullptr;

    // id -> registered items; stale entries are dropped when met.
    mutable QMultiHash<int, TrackedItem> idIndex;
    // The objects in the scene by list key, which is also the list's order.
    std::map<double, DiagramObject *> listOrder;
    double lastListKey = 0.0;
};

#endif // DIAGRAMSCENE_H
