#include "io/ItemCopy.h"

#include "io/ItemReader.h"
#include "io/ItemWriter.h"
#include "io/JsonTextWriter.h"
#include "io/ReadReport.h"
#include "scene/Arrow.h"
#include "scene/DiagramObject.h"
#include "scene/DiagramScene.h"
#include "scene/DiagramTextItem.h"

#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

namespace {

int typeOf(const QJsonObject &object)
{
    return object.value(QLatin1String("type")).toInt();
}

int idOf(const QJsonObject &object)
{
    return object.value(QLatin1String("id")).toInt();
}

// "name (n)" with the smallest n from 1 that no item of the kind uses yet;
// the chosen name is taken at once for the next copy of the same paste.
QString takeFreeName(const QString &name, QSet<QString> &taken)
{
    int n = 1;
    QString candidate;
    do {
        candidate = name + QStringLiteral(" (") + QString::number(n++) + QLatin1Char(')');
    } while (taken.contains(candidate));
    taken.insert(candidate);
    return candidate;
}

QPointF placed(const QPointF &point, const PastePlacement &placement)
{
    return placement.onPoint ? placement.point : point + placement.offset;
}

QJsonObject movedPoint(const QJsonObject &point, const PastePlacement &placement,
                       bool keepZ)
{
    const QPointF moved = placed(QPointF(point.value(QLatin1String("x")).toDouble(),
                                         point.value(QLatin1String("y")).toDouble()),
                                 placement);
    QJsonObject result = point;
    result.insert(QStringLiteral("x"), moved.x());
    result.insert(QStringLiteral("y"), moved.y());
    if (!keepZ)
        result.remove(QStringLiteral("z"));
    return result;
}

QJsonObject withNewEnd(QJsonObject arrow, const char *key, const QHash<int, int> &newIds)
{
    QJsonObject end = arrow.value(QLatin1String(key)).toObject();
    end.insert(QStringLiteral("id"), newIds.value(idOf(end)));
    arrow.insert(QLatin1String(key), end);
    return arrow;
}

} // namespace

QJsonArray copyItems(const QList<DiagramObject *> &objects)
{
    // Written as one text and read back once: one parse for the whole copy.
    JsonTextWriter json;
    json.beginArray();
    QSet<const DiagramObject *> copied;
    for (const DiagramObject *object : objects) {
        if (object->kind() != DiagramObject::Kind::Arrow) {
            copied.insert(object);
            writeItem(json, *object);
        }
    }
    // Every arrow between two copies comes along, chosen or not.
    QSet<const Arrow *> arrows;
    for (const DiagramObject *object : objects) {
        for (const Arrow *arrow : object->arrows()) {
            if (copied.contains(DiagramObject::from(arrow->startItem()))
                && copied.contains(DiagramObject::from(arrow->endItem()))
                && !arrows.contains(arrow)) {
                arrows.insert(arrow);
                writeItem(json, *arrow);
            }
        }
    }
    json.endArray();
    return QJsonDocument::fromJson(json.text()).array();
}

QList<DiagramObject *> pasteItems(DiagramScene &scene, const QJsonArray &items,
                                  const PastePlacement &placement)
{
    QHash<int, QSet<QString>> names;
    for (const DiagramObject *object : scene.objects())
        names[object->graphicsItem()->type()].insert(object->name());

    // New ids first, so that arrows and links can follow them. The
    // clipboard may come from another process: a second object under one
    // id, and an arrow whose ends did not come along, are left out.
    QHash<int, int> newIds;
    QList<QJsonObject> kept;
    for (const QJsonValue &value : items) {
        const QJsonObject object = value.toObject();
        if (newIds.contains(idOf(object)))
            continue;
        newIds.insert(idOf(object), scene.nbItems());
        scene.setNbItems(scene.nbItems() + 1);
        kept.append(object);
    }
    const auto endCame = [&newIds](const QJsonObject &arrow, const char *key) {
        return newIds.contains(idOf(arrow.value(QLatin1String(key)).toObject()));
    };

    QList<QJsonObject> ready;
    for (QJsonObject object : qAsConst(kept)) {
        const int type = typeOf(object);
        if (type == Arrow::Type && !(endCame(object, "startItem") && endCame(object, "endItem")))
            continue;
        object.insert(QStringLiteral("id"), newIds.value(idOf(object)));
        object.insert(QStringLiteral("name"),
                      takeFreeName(object.value(QLatin1String("name")).toString(), names[type]));
        if (type == Arrow::Type) {
            object = withNewEnd(withNewEnd(object, "startItem", newIds), "endItem", newIds);
            if (object.contains(QLatin1String("pointToBe")))
                object.insert(QStringLiteral("pointToBe"),
                              movedPoint(object.value(QLatin1String("pointToBe")).toObject(),
                                         placement, false));
        } else {
            object.insert(QStringLiteral("position"),
                          movedPoint(object.value(QLatin1String("position")).toObject(),
                                     placement, true));
        }
        if (type == DiagramTextItem::Type && object.value(QLatin1String("linked")).toBool()) {
            const int shape = object.value(QLatin1String("linkedId")).toInt();
            if (newIds.contains(shape))
                object.insert(QStringLiteral("linkedId"), newIds.value(shape));
            else
                object.insert(QStringLiteral("linked"), false);
        }
        ready.append(object);
    }

    // In the reader's order: what arrows join and texts link to comes first.
    QList<DiagramObject *> made;
    ReadReport report;
    for (const int pass : {0, 1, 2}) {
        for (const QJsonObject &object : qAsConst(ready)) {
            const int type = typeOf(object);
            const int wanted = type == Arrow::Type ? 2 : type == DiagramTextItem::Type ? 1 : 0;
            if (wanted != pass)
                continue;
            if (QGraphicsItem *item = readItem(scene, object, &report))
                made.append(DiagramObject::from(item));
        }
    }
    return made;
}
