#ifndef SPACER_H
#define SPACER_H

#include <QGraphicsPolygonItem>
#include <QObject>

class Arrow;

// The green handle at an arrow's tip: dragging it points the arrow at the
// spot of the end item under the mouse. Its polygon is set by the arrow.
class Spacer : public QObject, public QGraphicsPolygonItem
{
    Q_OBJECT

public:
    // A child of the arrow, hidden until the arrow is selected.
    explicit Spacer(Arrow *arrow);

    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
               QWidget *widget = nullptr) override;

protected:
    void hoverEnterEvent(QGraphicsSceneHoverEvent *event) override;
    void hoverLeaveEvent(QGraphicsSceneHoverEvent *event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent *event) override;

private:
    Arrow *m_arrow;
};

#endif // SPACER_H
