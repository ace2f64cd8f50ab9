#include "scene/DiagramScene.h"

#include "io/ItemReader.h"
#include "io/SceneDocument.h"
#include "io/SceneJson.h"
#include "scene/Arrow.h"
#include "scene/DiagramImage.h"
#include "scene/DiagramTextItem.h"

#include <QJsonArray>

namespace {

// The object of one of the four item kinds; empty for handles, spacers and
// temporary lines.
QJsonObject itemObject(const QGraphicsItem *item)
{
    switch (item->type()) {
    case DiagramItem::Type:
        return static_cast<const DiagramItem *>(item)->toJson();
    case DiagramTextItem::Type:
        return static_cast<const DiagramTextItem *>(item)->toJson();
    case DiagramImage::Type:
        return static_cast<const DiagramImage *>(item)->toJson();
    case Arrow::Type:
        return static_cast<const Arrow *>(item)->toJson();
    default:
        return {};
    }
}

} // namespace

QJsonObject DiagramScene::toJson() const
{
    QJsonArray itemArray;
    for (const QGraphicsItem *item : items(Qt::DescendingOrder)) {
        const QJsonObject object = itemObject(item);
        if (!object.isEmpty())
            itemArray.append(object);
    }
    QJsonObject top{{QStringLiteral("items"), itemArray},
                    {QStringLiteral("background"), backgroundObject(*this)}};
    for (const SceneCounter &counter : sceneCounters)
        top.insert(QLatin1String(counter.key), counter.get(*this));
    return top;
}

void DiagramScene::itemFromJson(const QJsonObject &object)
{
    switch (SceneJson::itemType(object)) {
    case DiagramItem::Type:
        if (DiagramItem *shape = shapeFromJson(*this, object)) {
            registerItem(shape);
            emit itemInserted(shape);
        }
        break;
    case DiagramImage::Type: {
        DiagramImage *image = imageFromJson(*this, object);
        registerItem(image);
        if (image->isMath())
            emit mathInserted(image);
        else
            emit imageInserted(image);
        break;
    }
    case DiagramTextItem::Type: {
        DiagramTextItem *text = textFromJson(*this, object);
        registerItem(text);
        emit textInserted(text);
        if (DiagramItem *shape = linkedShapeFromJson(*this, object)) {
            text->linkTo(shape);
            shape->setLinkedText(text);
            emit itemsLinked(text, shape);
        }
        readTextAlignment(*text, object);
        break;
    }
    case Arrow::Type:
        if (Arrow *arrow = arrowFromJson(*this, object)) {
            registerItem(arrow);
            emit arrowInserted(arrow);
            arrow->updatePosition();
        }
        break;
    default:
        break; // not an item kind of ours
    }
}
