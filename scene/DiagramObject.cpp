#include "scene/DiagramObject.h"

#include "scene/Arrow.h"
#include "scene/DiagramImage.h"
#include "scene/DiagramItem.h"
#include "scene/DiagramScene.h"
#include "scene/DiagramTextItem.h"

#include <QGraphicsSceneContextMenuEvent>
#include <QPointF>

// The one place where graphics item types map to object classes.
DiagramObject *DiagramObject::from(QGraphicsItem *item)
{
    switch (item ? item->type() : 0) {
    case DiagramItem::Type: return static_cast<DiagramItem *>(item);
    case DiagramTextItem::Type: return static_cast<DiagramTextItem *>(item);
    case DiagramImage::Type: return static_cast<DiagramImage *>(item);
    case Arrow::Type: return static_cast<Arrow *>(item);
    default: return nullptr;
    }
}

const DiagramObject *DiagramObject::from(const QGraphicsItem *item)
{
    return from(const_cast<QGraphicsItem *>(item));
}

DiagramObject::~DiagramObject() = default;

const QGraphicsItem *DiagramObject::graphicsItem() const
{
    return const_cast<DiagramObject *>(this)->graphicsItem();
}

DiagramScene *DiagramObject::diagramScene() const
{
    return qobject_cast<DiagramScene *>(graphicsItem()->scene());
}

void DiagramObject::setName(const QString &name)
{
    m_name = name;
    if (DiagramScene *scene = diagramScene())
        scene->notifyRenamed(this);
}

QPolygonF DiagramObject::outline() const
{
    return QPolygonF(graphicsItem()->boundingRect());
}

QVariant DiagramObject::value(Property property) const
{
    switch (property) {
    case Property::Name: return m_name;
    case Property::Position: return graphicsItem()->pos();
    case Property::ZValue: return graphicsItem()->zValue();
    default: return QVariant();
    }
}

void DiagramObject::setValue(Property property, const QVariant &value)
{
    switch (property) {
    case Property::Name:
        setName(value.toString());
        break;
    case Property::Position:
        graphicsItem()->setPos(value.toPointF());
        break;
    case Property::ZValue:
        graphicsItem()->setZValue(value.toDouble());
        break;
    default:
        break;
    }
}

void DiagramObject::requestEdit()
{
    if (DiagramScene *scene = diagramScene())
        scene->requestEdit(this);
}

void DiagramObject::requestContextMenu(QGraphicsSceneContextMenuEvent *event)
{
    DiagramScene *scene = diagramScene();
    if (!scene)
        return;
    scene->clearSelection();
    graphicsItem()->setSelected(true);
    scene->requestContextMenu(this, event->screenPos());
}
