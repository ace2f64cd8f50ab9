#include "scene/DiagramItemRotator.h"

#include "scene/DiagramItem.h"
#include "scene/HandleGeometry.h"

#include <QBrush>
#include <QCursor>
#include <QGraphicsRotation>
#include <QGraphicsSceneMouseEvent>
#include <QToolTip>

DiagramItemRotator::DiagramItemRotator(DiagramItem *parent)
    : QGraphicsPolygonItem(parent)
    , item(parent)
{
    setPolygon(rotatorDisc());
    setBrush(QBrush(Qt::green, Qt::SolidPattern));
    setFlag(ItemIsSelectable);
    setCursor(Qt::ClosedHandCursor);
    setAcceptHoverEvents(true);
    hide();
}

void DiagramItemRotator::place()
{
    const QRectF r = item->boundingRect();
    setPos(r.x() + 0.5 * r.width(), r.y());
    setTransform(screenSizedTransform(item, rotatorTransform(item->rotationTransform()->angle())));
}

void DiagramItemRotator::hoverEnterEvent(QGraphicsSceneHoverEvent *event)
{
    item->setRotatorHovered(true);
    QGraphicsPolygonItem::hoverEnterEvent(event);
}

void DiagramItemRotator::hoverLeaveEvent(QGraphicsSceneHoverEvent *event)
{
    item->setRotatorHovered(false);
    // Pressing the disc deselected the shape; give the selection back.
    if (!item->isSelected())
        item->setSelected(true);
    QGraphicsPolygonItem::hoverLeaveEvent(event);
}

void DiagramItemRotator::mouseMoveEvent(QGraphicsSceneMouseEvent *event)
{
    item->changeTransform(rotatorAngle(item->scenePos(), event->scenePos()), false, 0.0, 0.0,
                          false);
    QToolTip::showText(event->screenPos(), rotatorToolTip(item->rotationTransform()->angle()));
}
