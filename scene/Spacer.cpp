#include "scene/Spacer.h"

#include "scene/Arrow.h"

#include <QBrush>
#include <QPen>
#include <QGraphicsSceneMouseEvent>
#include <QStyle>
#include <QStyleOptionGraphicsItem>

Spacer::Spacer(Arrow *arrow)
    : QGraphicsPolygonItem(arrow), m_arrow(arrow)
{
    hide();
    setBrush(QBrush(Qt::green, Qt::SolidPattern));
    setPen(Qt::NoPen);
    setFlag(ItemIsSelectable);
    setCursor(Qt::ClosedHandCursor);
    setAcceptHoverEvents(true);
}

void Spacer::paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget)
{
    // The handle is selected while dragged; it never shows a selection frame.
    QStyleOptionGraphicsItem plain(*option);
    plain.state &= ~QStyle::State_Selected;
    QGraphicsPolygonItem::paint(painter, &plain, widget);
}

void Spacer::hoverEnterEvent(QGraphicsSceneHoverEvent *event)
{
    m_arrow->setSpacerHovered(true);
    QGraphicsPolygonItem::hoverEnterEvent(event);
}

void Spacer::hoverLeaveEvent(QGraphicsSceneHoverEvent *event)
{
    // Pressing the handle deselects the arrow; give the selection back so
    // that the handle does not vanish once the mouse leaves it.
    m_arrow->setSpacerHovered(false);
    if (!m_arrow->isSelected())
        m_arrow->setSelected(true);
    QGraphicsPolygonItem::hoverLeaveEvent(event);
}

void Spacer::mouseMoveEvent(QGraphicsSceneMouseEvent *event)
{
    // The handle stays where the arrow puts it: no default move handling.
    m_arrow->setPointToBe(event->scenePos());
}
