#include "scene/HandleGeometry.h"

#include "scene/DiagramScene.h"

#include <QGraphicsPolygonItem>
#include <QPainter>
#include <QPainterPath>
#include <QString>
#include <QtMath>

#include <cmath>

QPointF handleCorner(const QRectF &rect, int corner)
{
    switch (corner) {
    case 0: return rect.topLeft();
    case 1: return rect.topRight();
    case 2: return rect.bottomLeft();
    default: return rect.bottomRight();
    }
}

QPolygonF resizerTriangle(int corner)
{
    // Each leg runs along one edge of the item, away from the corner.
    const qreal legX = (corner == 0 || corner == 2) ? 10 : -10;
    const qreal legY = (corner == 0 || corner == 1) ? 10 : -10;
    if (corner < 2)
        return QPolygonF({QPointF(0, 0), QPointF(0, legY), QPointF(legX, 0)});
    return QPolygonF({QPointF(0, 0), QPointF(legX, 0), QPointF(0, legY)});
}

Qt::CursorShape resizerCursor(int corner)
{
    return (corner == 0 || corner == 3) ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor;
}

QTransform screenSizedTransform(const QGraphicsItem *parent, const QTransform &own)
{
    const QTransform scene = parent->sceneTransform();
    bool invertible = false;
    const QTransform parentUndone =
        QTransform(scene.m11(), scene.m12(), scene.m21(), scene.m22(), 0, 0).inverted(&invertible);
    const auto *diagram = qobject_cast<const DiagramScene *>(parent->scene());
    const qreal zoom = diagram ? diagram->handleZoom() : 1.0;
    if (!invertible || zoom <= 0)
        return own;
    return own * parentUndone * QTransform::fromScale(1 / zoom, 1 / zoom);
}

void paintResizer(QGraphicsPolygonItem *handle, int corner, QPainter *painter,
                  const QStyleOptionGraphicsItem *option, QWidget *widget)
{
    const QPointF anchor = handleCorner(handle->boundingRect(), corner);
    painter->translate(anchor);
    handle->QGraphicsPolygonItem::paint(painter, option, widget);
    painter->translate(-anchor);
}

QPointF mouseOnItemAxes(const QPointF &centre, const QPointF &mouse,
                        double angleDegrees, bool singlePrecision)
{
    // The same single-precision pi as the rest of the handle arithmetic.
    const double pi = 3.1415927f;
    double theta = std::atan2(centre.y() - mouse.y(), centre.x() - mouse.x());
    double distance = std::hypot(mouse.x() - centre.x(), mouse.y() - centre.y());
    double rho = angleDegrees * pi / 180.0;
    if (singlePrecision) {
        theta = float(theta);
        distance = float(distance);
        rho = float(rho);
    }
    const double alpha = theta - rho;
    return QPointF(centre.x() + distance * std::cos(alpha),
                   centre.y() + distance * std::sin(alpha));
}

QPolygonF rotatorDisc()
{
    QPainterPath path;
    path.addEllipse(QRectF(-4, -4, 8, 8));
    return path.toFillPolygon(QTransform());
}

QTransform rotatorTransform(double angleDegrees)
{
    // Points are moved up first, then turned: the disc sits beyond the
    // item's top edge whichever way the item faces.
    return QTransform().rotate(angleDegrees).translate(0, -25);
}

int rotatorAngle(const QPointF &centre, const QPointF &mouse)
{
    double degrees = qRadiansToDegrees(std::atan2(centre.y() - mouse.y(),
                                                  centre.x() - mouse.x())) + 270;
    if (degrees >= 360)
        degrees -= 360;
    return int(degrees);
}

QString rotatorToolTip(double angleDegrees)
{
    return QString::number(angleDegrees, 'g', 6) + QStringLiteral("°");
}
