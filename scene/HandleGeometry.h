#ifndef HANDLEGEOMETRY_H
#define HANDLEGEOMETRY_H

#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <QTransform>
#include <Qt>

class QGraphicsItem;
class QGraphicsPolygonItem;
class QPainter;
class QStyleOptionGraphicsItem;
class QWidget;

// Geometry shared by the resize and rotate handles of shapes and pictures.
// Corners are numbered 0 top-left, 1 top-right, 2 bottom-left, 3 bottom-right.

// The corner of rect with that number.
QPointF handleCorner(const QRectF &rect, int corner);
// A right triangle with legs of 10, right angle at the origin, pointing into
// the item from that corner.
QPolygonF resizerTriangle(int corner);
// Qt::SizeFDiagCursor on the main diagonal (0, 3), Qt::SizeBDiagCursor else.
Qt::CursorShape resizerCursor(int corner);
// The transform of a handle whose own transform is `own`: it then undoes
// its parent's turn and scale and the zoom of the scene's view, so that the
// handle keeps its size on screen, as an item ignoring transformations
// would, while it stays an ordinary item for the scene's index.
QTransform screenSizedTransform(const QGraphicsItem *parent, const QTransform &own);
// Draws a resize handle with its triangle anchored on the matching corner
// of its own bounding rectangle.
void paintResizer(QGraphicsPolygonItem *handle, int corner, QPainter *painter,
                  const QStyleOptionGraphicsItem *option, QWidget *widget);

// The point (X, Y) whose distances from centre along x and y are the
// mouse's distances from centre along the axes of an item turned by
// angleDegrees. Shapes compute it in single precision, pictures do not.
QPointF mouseOnItemAxes(const QPointF &centre, const QPointF &mouse,
                        double angleDegrees, bool singlePrecision);

// The rotate handle: a disc of diameter 8, sitting 25 pixels beyond the
// top edge in the direction the item's top faces.
QPolygonF rotatorDisc();
QTransform rotatorTransform(double angleDegrees);
// The whole angle, 0 to 359, that puts the disc under the mouse: 0 with the
// mouse straight above the centre, 90 to its right, 180 below, 270 left.
int rotatorAngle(const QPointF &centre, const QPointF &mouse);
// The tooltip shown while turning: the angle followed by a degree sign.
QString rotatorToolTip(double angleDegrees);

#endif // HANDLEGEOMETRY_H
