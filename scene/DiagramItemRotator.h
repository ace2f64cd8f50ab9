#ifndef DIAGRAMITEMROTATOR_H
#define DIAGRAMITEMROTATOR_H

#include <QGraphicsPolygonItem>

class DiagramItem;

// The green disc above a shape: dragging it turns the shape about its
// centre and shows the angle in a tooltip.
class DiagramItemRotator : public QGraphicsPolygonItem
{
public:
    explicit DiagramItemRotator(DiagramItem *parent);

    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
               QWidget *widget = nullptr) override;

protected:
    void hoverEnterEvent(QGraphicsSceneHoverEvent *event) override;
    void hoverLeaveEvent(QGraphicsSceneHoverEvent *event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent *event) override;

private:
    DiagramItem *item;
};

#endif // DIAGRAMITEMROTATOR_H
