#include "scene/DiagramImageResizer.h"

#include "scene/DiagramImage.h"
#include "scene/HandleGeometry.h"

#include <QBrush>
#include <QGraphicsSceneMouseEvent>
#include <QGraphicsTransform>
#include <QtMath>

DiagramImageResizer::DiagramImageResizer(int corner, DiagramImage *image)
    : QGraphicsPolygonItem(image), m_corner(corner), m_image(image)
{
    hide();
    setBrush(QBrush(Qt::SolidPattern));
    setFlag(ItemIsMovable);
    setPolygon(resizerTriangle(corner));
}

void DiagramImageResizer::place()
{
    setPos(handleCorner(m_image->boundingRect(), m_corner));
    setTransform(screenSizedTransform(m_image, QTransform().rotate(m_image->rotationTransform()->angle())));
}

void DiagramImageResizer::paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
                                QWidget *widget)
{
    paintResizer(this, m_corner, painter, option, widget);
}

void DiagramImageResizer::mouseMoveEvent(QGraphicsSceneMouseEvent *event)
{
    const QPointF centre = m_image->scenePos();
    const QPointF onAxes = mouseOnItemAxes(centre, event->scenePos(),
                                           m_image->rotationTransform()->angle(), false);
    // A picture without pixmap has no size to scale against.
    const QRectF r = m_image->boundingRect();
    if (qFuzzyIsNull(r.x()) || qFuzzyIsNull(r.y()))
        return;
    const double scale = (qAbs((onAxes.x() - centre.x()) / r.x())
                          + qAbs((onAxes.y() - centre.y()) / r.y())) * 0.5;
    m_image->changeTransform(0, true, scale);
}
