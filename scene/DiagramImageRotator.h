#ifndef DIAGRAMIMAGEROTATOR_H
#define DIAGRAMIMAGEROTATOR_H

#include <QGraphicsPolygonItem>

class DiagramImage;

// The green disc above a selected picture: dragging it turns the picture
// about its centre and shows the angle in a tooltip.
class DiagramImageRotator : public QGraphicsPolygonItem
{
public:
    explicit DiagramImageRotator(DiagramImage *image);

    // Puts the disc above the picture's top edge, turned like the picture.
    void place();


protected:
    void hoverEnterEvent(QGraphicsSceneHoverEvent *event) override;
    void hoverLeaveEvent(QGraphicsSceneHoverEvent *event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent *event) override;

private:
    DiagramImage *m_image;
};

#endif // DIAGRAMIMAGEROTATOR_H
