#ifndef ITEMSHARNESS_H
#define ITEMSHARNESS_H

#include "app/ColorActionWidget.h"
#include "app/LineInputActionWidget.h"
#include "app/SpinboxActionWidget.h"
#include "scene/Arrow.h"
#include "scene/DiagramImage.h"
#include "scene/DiagramItem.h"
#include "scene/DiagramScene.h"
#include "scene/DiagramTextItem.h"

#include <QApplication>
#include <QGraphicsView>
#include <QMenu>
#include <QMouseEvent>
#include <QPixmap>
#include <QTest>

inline bool nearlyEqual(const QPointF &a, const QPointF &b, double tolerance = 0.6)
{
    return QLineF(a, b).length() <= tolerance;
}

inline QString describe(const QPointF &p)
{
    return QStringLiteral("(%1, %2)").arg(p.x()).arg(p.y());
}

inline QPointF centroid(const QPolygonF &polygon)
{
    QPointF sum;
    for (const QPointF &p : polygon)
        sum += p;
    return sum / polygon.size();
}

// A real scene in a shown view, with the menus and property widgets the
// window would give it, and mouse input sent to the view's viewport at
// scene points.
class ItemsHarness
{
public:
    ItemsHarness()
    {
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
        DiagramItem *shape = scene.newShape(type);
        shape->setId(nextId++);
        scene.addItem(shape);
        scene.registerItem(shape);
        shape->setPos(pos);
        return shape;
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
        image->setId(nextId++);
        scene.addItem(image);
        scene.registerItem(image);
        image->setOffset(-(pixmap.width() / 2), -(pixmap.height() / 2));
        image->setPos(pos);
        image->setFlags(QGraphicsItem::ItemIsMovable | QGraphicsItem::ItemIsSelectable);
        return image;
    }

    DiagramTextItem *addText(const QPointF &pos, const QString &text)
    {
        DiagramTextItem *item = scene.newText();
        item->setId(nextId++);
        scene.addItem(item);
        scene.registerItem(item);
        item->setPlainText(text);
        item->setPos(pos);
        return item;
    }

    Arrow *addArrow(QGraphicsItem *start, QGraphicsItem *end)
    {
        Arrow *arrow = scene.newArrow(start, end, 20);
        arrow->setId(nextId++);
        scene.addItem(arrow);
        arrow->updatePosition();
        return arrow;
    }

    QList<Arrow *> arrows() const
    {
        QList<Arrow *> found;
        for (QGraphicsItem *item : scene.items()) {
            if (item->type() == Arrow::Type)
                found.append(static_cast<Arrow *>(item));
        }
        return found;
    }

    static QList<Arrow *> arrowsOf(QGraphicsItem *item)
    {
        if (item->type() == DiagramItem::Type)
            return static_cast<DiagramItem *>(item)->arrows();
        return static_cast<DiagramImage *>(item)->arrows();
    }

    // Paints the view now, so that everything placed while painting is placed.
    void paint() { view.viewport()->repaint(); }

    void hover(const QPointF &at) { send(QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton); }
    void press(const QPointF &at) { send(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton); }
    void moveDragging(const QPointF &to) { send(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton); }
    void release(const QPointF &at) { send(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton); }
    void drag(const QPointF &from, const QPointF &to)
    {
        hover(from);
        press(from);
        paint(); // a person's drag leaves time for painting
        moveDragging((from + to) / 2);
        moveDragging(to);
        release(to);
    }
    void doubleClick(const QPointF &at)
    {
        press(at);
        release(at);
        send(QEvent::MouseButtonDblClick, at, Qt::LeftButton, Qt::LeftButton);
        release(at);
    }

    QMenu itemMenu, imageMenu, textMenu, arrowMenu, sceneMenu;
    SpinboxActionWidget borderWidthAction{QStringLiteral("Épaisseur : "), 1};
    ColorActionWidget borderColorAction{QStringLiteral("Couleur : "), Qt::black};
    SpinboxActionWidget arrowWidthAction{QStringLiteral("Taille flèche : "), 20};
    LineInputActionWidget itemNameAction{QStringLiteral("Nom : ")};
    LineInputActionWidget imageNameAction{QStringLiteral("Nom : ")};
    LineInputActionWidget textNameAction{QStringLiteral("Nom : ")};
    LineInputActionWidget arrowNameAction{QStringLiteral("Nom : ")};
    DiagramScene scene{&itemMenu, &imageMenu, &textMenu, &arrowMenu,
                       &borderWidthAction, &borderColorAction, &arrowWidthAction,
                       &itemNameAction, &imageNameAction, &textNameAction, &arrowNameAction,
                       &sceneMenu};
    QGraphicsView view{&scene};

private:
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

#endif // ITEMSHARNESS_H
