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

    // Puts the disc above the shape's top edge, the way the shape faces.
    void place();

protected:
    void hoverEnterEvent(QGraphicsSceneHoverEvent *event) override;
    void hoverLeaveEvent(QGraphicsSceneHoverEvent *event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent *event) override;

private:
    DiagramItem *item;
};

#endif // DIAGRAMITEMROTATOR_H
