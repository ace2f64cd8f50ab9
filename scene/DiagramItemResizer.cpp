#include "scene/DiagramItemResizer.h"

#include "scene/DiagramItem.h"
#include "scene/DiagramTextItem.h"
#include "scene/HandleGeometry.h"

#include <QBrush>
#include <QGraphicsRotation>
#include <QGraphicsSceneMouseEvent>
#include <QtMath>

DiagramItemResizer::DiagramItemResizer(int corner, DiagramItem *parent)
    : QGraphicsPolygonItem(parent)
    , item(parent)
    , m_corner(corner)
{
    setPolygon(resizerTriangle(corner));
    setBrush(QBrush(Qt::SolidPattern));
    setFlag(ItemIsMovable);
    // A shape's bounding rectangle never changes, only its scale: placed once.
    setPos(handleCorner(parent->boundingRect(), corner));
    hide();
}

void DiagramItemResizer::paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
                               QWidget *widget)
{
    paintResizer(this, m_corner, painter, option, widget);
}

void DiagramItemResizer::place()
{
    setTransform(screenSizedTransform(item, QTransform().rotate(item->rotationTransform()->angle())));
}

void DiagramItemResizer::mouseMoveEvent(QGraphicsSceneMouseEvent *event)
{
    // The handle itself stays where it is: no call to the base class.
    const QPointF centre = item->scenePos();
    const QPointF onAxes = mouseOnItemAxes(centre, event->scenePos(),
                                           item->rotationTransform()->angle(), true);
    DiagramTextItem *text = item->linkedText();
    if (!text) {
        // Polygons are centred on the origin, so -r.x and -r.y are the half
        // sizes: the opposite corner moves as far the other way.
        const QRectF r = item->boundingRect();
        item->changeTransform(0, true, qAbs((onAxes.x() - centre.x()) / r.x()),
                              qAbs((onAxes.y() - centre.y()) / r.y()), false);
        return;
    }
    const QPointF textCorner = mapToScene(text->boundingRect().topLeft());
    item->setCustomTextMargins(qAbs(onAxes.x() - textCorner.x()),
                               qAbs(onAxes.y() - textCorner.y()));
}
