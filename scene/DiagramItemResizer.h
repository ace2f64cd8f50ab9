#ifndef DIAGRAMITEMRESIZER_H
#define DIAGRAMITEMRESIZER_H

#include <QGraphicsPolygonItem>

class DiagramItem;

// A black corner triangle of a shape. Dragging it scales the shape
// symmetrically about its centre, or, when a text is linked, sets the room
// around the text. It keeps its pixel size whatever the scale.
class DiagramItemResizer : public QGraphicsPolygonItem
{
public:
    DiagramItemResizer(int corner, DiagramItem *parent);

    int corner() const { return m_corner; }

    // Turns the handle like the shape.
    void place();

    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
               QWidget *widget = nullptr) override;

protected:
    void mouseMoveEvent(QGraphicsSceneMouseEvent *event) override;

private:
    DiagramItem *item;
    int m_corner;
};

#endif // DIAGRAMITEMRESIZER_H
