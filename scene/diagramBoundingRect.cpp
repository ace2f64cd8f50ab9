#include "scene/diagramBoundingRect.h"

#include <QGraphicsItem>
#include <QGraphicsScene>

QRectF diagramBoundingRect(const QGraphicsScene &scene)
{
    // In no order: sorting every item by stacking order would cost more
    // than the walk, and a zoom step asks for this rectangle. Qt's indexes
    // read a sort order of -1 as "unsorted".
    QRectF bounds;
    for (const QGraphicsItem *item : scene.items(Qt::SortOrder(-1))) {
        // Handles are the only items that have a parent.
        if (!item->parentItem())
            bounds |= item->sceneBoundingRect();
    }
    return bounds;
}
