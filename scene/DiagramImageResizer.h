#ifndef DIAGRAMIMAGERESIZER_H
#define DIAGRAMIMAGERESIZER_H

#include <QGraphicsPolygonItem>

class DiagramImage;

// One of the four black corner triangles of a selected picture: dragging it
// scales the picture uniformly about its centre. It keeps its pixel size
// when the view scales.
class DiagramImageResizer : public QGraphicsPolygonItem
{
public:
    // corner: 0 top-left, 1 top-right, 2 bottom-left, 3 bottom-right.
    DiagramImageResizer(int corner, DiagramImage *image);

    int corner() const { return m_corner; }
    // Puts the handle on its corner of the picture, turned like it.
    void place();

    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
               QWidget *widget = nullptr) override;

protected:
    void mouseMoveEvent(QGraphicsSceneMouseEvent *event) override;

private:
    int m_corner;
    DiagramImage *m_image;
};

#endif // DIAGRAMIMAGERESIZER_H
