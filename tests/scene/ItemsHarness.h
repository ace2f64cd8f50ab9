#ifndef ITEMSHARNESS_H
#define ITEMSHARNESS_H

#include "scene/Arrow.h"
#include "scene/DiagramImage.h"
#include "scene/DiagramItem.h"
#include "scene/DiagramScene.h"
#include "scene/DiagramTextItem.h"

#include <QApplication>
#include <QGraphicsRotation>
#include <QGraphicsScale>
#include <QGraphicsView>
#include <QMenu>
#include <QMouseEvent>
#include <QPixmap>
#include <QSignalSpy>
#include <QTest>

inline bool nearlyEqual(const QPointF &a, const QPointF &b, double tolerance = 0.6)
{
    return QLineF(a, b).length() <= tolerance;
}

inline QPointF centroid(const QPolygonF &polygon)
{
    QPointF sum;
    for (const QPointF &p : polygon)
        sum += p;
    return sum / polygon.size();
}

// The item's handles of that class; they are made at its first selection.
template <typename Handle>
QList<Handle *> handlesOf(const QGraphicsItem *item)
{
    QList<Handle *> found;
    for (QGraphicsItem *child : item->childItems()) {
        if (auto *handle = dynamic_cast<Handle *>(child))
            found.append(handle);
    }
    return found;
}

inline int shownHandles(const QGraphicsItem *item)
{
    const QList<QGraphicsItem *> children = item->childItems();
    return int(std::count_if(children.cbegin(), children.cend(),
                             [](const QGraphicsItem *child) { return child->isVisible(); }));
}

// A real scene in a shown view, with the menus and property widgets the
// window would give it, and mouse input sent to the view's viewport at
// scene points.
class ItemsHarness
{
public:
    ItemsHarness()
    {
        // For signal spies whose arguments are read.
        qRegisterMetaType<DiagramImage *>();
        qRegisterMetaType<DiagramTextItem *>();
        qRegisterMetaType<Arrow *>();
        view.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view.setSceneRect(-500, -400, 1000, 800);
        view.resize(1000, 800);
        view.show();
        view.activateWindow();
        QVERIFY2(QTest::qWaitForWindowActive(&view), "the view never became active");
    }

    // Items added as the scene adds its own, without the mouse.
    DiagramItem *addShape(const QPointF &pos, DiagramItem::DiagramType type = DiagramItem::Carre)
    {
        return place(scene.newShape(type), pos);
    }

    // A picture of that size, centred on pos; a null size gives an item
    // without picture, as for an unreadable file.
    DiagramImage *addImage(const QPointF &pos, const QSize &size = QSize(200, 100))
    {
        QPixmap pixmap;
        if (!size.isEmpty()) {
            pixmap = QPixmap(size);
            pixmap.fill(Qt::blue);
        }
        DiagramImage *image = scene.newImage();
        image->setContent(QStringLiteral("picture.png"), pixmap, false);
        image->setOffset(-(pixmap.width() / 2), -(pixmap.height() / 2));
        image->setFlags(QGraphicsItem::ItemIsMovable | QGraphicsItem::ItemIsSelectable);
        return place(image, pos);
    }

    DiagramTextItem *addText(const QPointF &pos, const QString &text)
    {
        DiagramTextItem *item = place(scene.newText(), pos);
        item->setPlainText(text);
        return item;
    }

    Arrow *addArrow(QGraphicsItem *start, QGraphicsItem *end)
    {
        Arrow *arrow = scene.newArrow(start, end, 20);
        arrow->setId(nextId++);
        scene.addItem(arrow);
        scene.registerItem(arrow);
        arrow->updatePosition();
        return arrow;
    }

    // A text linked to the shape, as the link pointer leaves them.
    DiagramTextItem *addLinkedText(DiagramItem *shape, const QString &text)
    {
        DiagramTextItem *item = addText(shape->pos() - QPointF(30, 10), text);
        item->linkTo(shape);
        shape->setLinkedText(item);
        return item;
    }

    template <typename T>
    QList<T *> itemsOf() const
    {
        QList<T *> found;
        for (QGraphicsItem *item : scene.items(Qt::AscendingOrder)) {
            if (item->type() == T::Type)
                found.append(static_cast<T *>(item));
        }
        return found;
    }

    // Where the middle of a handle shows, as a scene point: handles ignore
    // their parent's transformations.
    QPointF handlePoint(const QGraphicsPolygonItem *handle) const
    {
        const QTransform device = handle->deviceTransform(view.viewportTransform());
        return view.mapToScene(device.map(centroid(handle->polygon())).toPoint());
    }

    // Paints the view now, so that everything placed while painting is placed.
    void paint() { view.viewport()->repaint(); }

    void hover(const QPointF &at) { send(QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton); }
    void press(const QPointF &at) { send(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton); }
    void moveDragging(const QPointF &to) { send(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton); }
    void release(const QPointF &at) { send(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton); }
    void click(const QPointF &at) { press(at); release(at); }
    // In `mode`, which is left afterwards for MoveItem, as the window does.
    void click(DiagramScene::Mode mode, const QPointF &at)
    {
        scene.setMode(mode);
        click(at);
        scene.setMode(DiagramScene::MoveItem);
    }
    void drag(const QPointF &from, const QPointF &to)
    {
        hover(from);
        press(from);
        paint(); // a person's drag leaves time for painting
        moveDragging((from + to) / 2);
        moveDragging(to);
        release(to);
    }

    DiagramScene scene;
    QGraphicsView view{&scene};

private:
    template <typename T>
    T *place(T *item, const QPointF &pos)
    {
        item->setId(nextId++);
        scene.addItem(item);
        scene.registerItem(item);
        item->setPos(pos);
        return item;
    }

    void send(QEvent::Type type, const QPointF &at, Qt::MouseButton button,
              Qt::MouseButtons buttons)
    {
        const QPoint p = view.mapFromScene(at);
        QMouseEvent event(type, p, view.viewport()->mapToGlobal(p), button, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(view.viewport(), &event);
    }

    int nextId = 100;
};

// No arrow is left dangling: the ends of the scene's arrows are exactly the
// scene's shapes and pictures that list them.
inline bool noArrowDangles(const QGraphicsScene &scene)
{
    QSet<QPair<QGraphicsItem *, Arrow *>> ends, listed;
    for (QGraphicsItem *item : scene.items()) {
        QList<Arrow *> arrows;
        if (auto *arrow = qgraphicsitem_cast<Arrow *>(item))
            ends << qMakePair(arrow->startItem(), arrow) << qMakePair(arrow->endItem(), arrow);
        else if (auto *shape = qgraphicsitem_cast<DiagramItem *>(item))
            arrows = shape->arrows();
        else if (auto *picture = qgraphicsitem_cast<DiagramImage *>(item))
            arrows = picture->arrows();
        for (Arrow *arrow : arrows)
            listed << qMakePair(item, arrow);
    }
    return ends == listed;
}

#endif // ITEMSHARNESS_H
