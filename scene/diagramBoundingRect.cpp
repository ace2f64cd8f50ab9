#include "scene/diagramBoundingRect.h"

#include <QGraphicsItem>
#include <QGraphicsScene>

QRectF diagramBoundingRect(const QGraphicsScene &scene)
{
    // Handles are the only items that have a parent.
    QRectF bounds;
    for (const QGraphicsItem *item : scene.items()) {
        if (!item->parentItem())
            bounds |= item->sceneBoundingRect();
    }
    return bounds;
}
