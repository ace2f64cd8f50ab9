#ifndef DIAGRAMBOUNDINGRECT_H
#define DIAGRAMBOUNDINGRECT_H

#include <QRectF>

class QGraphicsScene;

// The scene rectangle covering every item of the diagram. Unlike
// QGraphicsScene::itemsBoundingRect(), it leaves out the resize and rotate
// handles, which belong to the selection, not to the diagram: a picture or
// a fit does not depend on what was selected before.
QRectF diagramBoundingRect(const QGraphicsScene &scene);

#endif // DIAGRAMBOUNDINGRECT_H
