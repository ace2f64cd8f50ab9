#include "scene/DiagramImageRotator.h"

#include "scene/DiagramImage.h"
#include "scene/HandleGeometry.h"

#include <QBrush>
#include <QGraphicsSceneMouseEvent>
#include <QGraphicsTransform>
#include <QToolTip>

DiagramImageRotator::DiagramImageRotator(DiagramImage *image)
    : QGraphicsPolygonItem(image), m_image(image)
{
    hide();
    setPolygon(rotatorDisc());
    setBrush(QBrush(Qt::green, Qt::SolidPattern));
    setFlag(ItemIsSelectable);
    setCursor(Qt::ClosedHandCursor);
    setAcceptHoverEvents(true);
}

void DiagramImageRotator::place()
{
    const QRectF r = m_image->boundingRect();
    setPos(r.x() + 0.5 * r.width(), r.y());
    setTransform(screenSizedTransform(m_image, rotatorTransform(m_image->rotationTransform()->angle())));
}

void DiagramImageRotator::hoverEnterEvent(QGraphicsSceneHoverEvent *event)
{
    m_image->setRotatorHovered(true);
    QGraphicsPolygonItem::hoverEnterEvent(event);
}

void DiagramImageRotator::hoverLeaveEvent(QGraphicsSceneHoverEvent *event)
{
    // Pressing the disc deselects the picture; select it again on leaving.
    m_image->setRotatorHovered(false);
    if (!m_image->isSelected())
        m_image->setSelected(true);
    QGraphicsPolygonItem::hoverLeaveEvent(event);
}

void DiagramImageRotator::mouseMoveEvent(QGraphicsSceneMouseEvent *event)
{
    m_image->changeTransform(rotatorAngle(m_image->scenePos(), event->scenePos()), false, 0.0);
    QToolTip::showText(event->screenPos(), rotatorToolTip(m_image->rotationTransform()->angle()));
}
