#include "scene/DiagramScene.h"

#include "io/SceneDocument.h"
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

void DiagramScene::addLoadedItem(QGraphicsItem *item)
{
    if (item->scene() != this)
        addItem(item);
    registerItem(item);
    switch (item->type()) {
    case DiagramItem::Type:
        emit itemInserted(static_cast<DiagramItem *>(item));
        break;
    case DiagramImage::Type: {
        auto *image = static_cast<DiagramImage *>(item);
        if (image->isMath())
            emit mathInserted(image);
        else
            emit imageInserted(image);
        break;
    }
    case DiagramTextItem::Type:
        emit textInserted(static_cast<DiagramTextItem *>(item));
        break;
    case Arrow::Type:
        emit arrowInserted(static_cast<Arrow *>(item));
        break;
    default:
        break;
    }
}
