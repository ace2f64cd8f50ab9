#include "scene/DiagramScene.h"

#include "io/ItemReader.h"
#include "io/SceneDocument.h"
#include "io/SceneJson.h"
#include "scene/Arrow.h"
#include "scene/DiagramImage.h"
#include "scene/DiagramTextItem.h"

#include <QJsonArray>

#include <algorithm>
#include <iterator>

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

// The top-level items, topmost first: higher z-values first, and of equal
// ones the later added, as the scene stacks them. Without a scene index,
// items() ignores the order asked for and lists items as they were added.
QList<QGraphicsItem *> topmostFirst(const QGraphicsScene &scene)
{
    QList<QGraphicsItem *> list;
    const QList<QGraphicsItem *> all = scene.items();
    std::copy_if(all.crbegin(), all.crend(), std::back_inserter(list),
                 [](const QGraphicsItem *item) { return !item->parentItem(); });
    std::stable_sort(list.begin(), list.end(), [](const QGraphicsItem *a, const QGraphicsItem *b) {
        return a->zValue() > b->zValue();
    });
    return list;
}

} // namespace

QJsonObject DiagramScene::toJson() const
{
    QJsonArray itemArray;
    for (const QGraphicsItem *item : topmostFirst(*this)) {
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
