#include "io/SceneDocument.h"

#include "io/ItemReader.h"
#include "io/ItemWriter.h"
#include "io/JsonFields.h"
#include "io/SceneJson.h"
#include "scene/Arrow.h"
#include "scene/DiagramImage.h"
#include "scene/DiagramScene.h"
#include "scene/DiagramTextItem.h"

#include <QJsonArray>
#include <QVector>

#include <algorithm>
#include <cmath>

const SceneCounter sceneCounters[12] = {
    {"nbCarre", [](const DiagramScene &s) { return s.nbCarre(); },
     [](DiagramScene &s, int n) { s.setNbCarre(n); }},
    {"nbRoundedCarre", [](const DiagramScene &s) { return s.nbRoundedCarre(); },
     [](DiagramScene &s, int n) { s.setNbRoundedCarre(n); }},
    {"nbTriangle", [](const DiagramScene &s) { return s.nbTriangle(); },
     [](DiagramScene &s, int n) { s.setNbTriangle(n); }},
    {"nbRectangle", [](const DiagramScene &s) { return s.nbRectangle(); },
     [](DiagramScene &s, int n) { s.setNbRectangle(n); }},
    {"nbRoundedRectangle", [](const DiagramScene &s) { return s.nbRoundedRectangle(); },
     [](DiagramScene &s, int n) { s.setNbRoundedRectangle(n); }},
    {"nbPentagone", [](const DiagramScene &s) { return s.nbPentagone(); },
     [](DiagramScene &s, int n) { s.setNbPentagone(n); }},
    {"nbCercle", [](const DiagramScene &s) { return s.nbCercle(); },
     [](DiagramScene &s, int n) { s.setNbCercle(n); }},
    {"nbText", [](const DiagramScene &s) { return s.nbText(); },
     [](DiagramScene &s, int n) { s.setNbText(n); }},
    {"nbMath", [](const DiagramScene &s) { return s.nbMath(); },
     [](DiagramScene &s, int n) { s.setNbMath(n); }},
    {"nbImage", [](const DiagramScene &s) { return s.nbImage(); },
     [](DiagramScene &s, int n) { s.setNbImage(n); }},
    {"nbItems", [](const DiagramScene &s) { return s.nbItems(); },
     [](DiagramScene &s, int n) { s.setNbItems(n); }},
    {"nbArrows", [](const DiagramScene &s) { return s.nbArrows(); },
     [](DiagramScene &s, int n) { s.setNbArrows(n); }},
};

namespace {

// A whole number clamped as the item reader clamps ids, or -1 when it is
// no number; a first look at an item object, before it is read.
int wholeNumber(const QJsonObject &object, const char *key)
{
    const double d = object.value(QLatin1String(key)).toDouble(-1);
    if (!std::isfinite(d))
        return -1;
    return int(qBound(double(-SceneJson::maxCount), std::trunc(d), double(SceneJson::maxCount)));
}

} // namespace

QJsonObject backgroundObject(const DiagramScene &scene)
{
    const QString type = QStringLiteral("type");
    if (scene.isTransparent())
        return {{type, QStringLiteral("transparent")}};
    if (scene.isColorBackground())
        return {{type, QStringLiteral("color")},
                {QStringLiteral("color"), SceneJson::colorObject(scene.backgroundBrush().color())}};
    if (scene.isPictureBackground())
        return {{type, QStringLiteral("pixmap")},
                {QStringLiteral("path"), scene.backgroundPath()}};
    return {};
}

void readBackground(DiagramScene &scene, const JsonFields &top)
{
    const JsonFields background = top.object("background", JsonFields::Optional);
    const QString type = background.string("type", JsonFields::Optional);
    if (type == QLatin1String("transparent")) {
        scene.setBackground(QBrush(Qt::NoBrush), true, false, false, QString(), Qt::white);
    } else if (type == QLatin1String("color")) {
        const QColor color = background.color("color", JsonFields::Optional, Qt::white);
        scene.setBackground(QBrush(color, Qt::SolidPattern), false, true, false, QString(), color);
    } else if (type == QLatin1String("pixmap")) {
        const QString path = background.string("path", JsonFields::Optional);
        const QPixmap picture = SceneJson::pictureFromFile(path);
        // An unreadable picture keeps its path (and its button state) but
        // paints nothing rather than an empty texture.
        const QBrush brush = picture.isNull() ? QBrush(Qt::NoBrush) : QBrush(picture);
        scene.setBackground(brush, false, false, true, path, Qt::white);
    }
}

QJsonObject writeDocument(const DiagramScene &scene)
{
    // Topmost first: higher z-values first, and of equal ones the later in
    // the item list, a order that undoing a deletion gives back whole.
    QList<DiagramObject *> objects = scene.objects();
    std::reverse(objects.begin(), objects.end());
    std::stable_sort(objects.begin(), objects.end(),
                     [](const DiagramObject *a, const DiagramObject *b) {
                         return a->graphicsItem()->zValue() > b->graphicsItem()->zValue();
                     });
    QJsonArray items;
    for (const DiagramObject *object : qAsConst(objects))
        items.append(writeItem(*object));
    QJsonObject top{{QStringLiteral("items"), items},
                    {QStringLiteral("background"), backgroundObject(scene)}};
    for (const SceneCounter &counter : sceneCounters)
        top.insert(QLatin1String(counter.key), counter.get(scene));
    return top;
}

ReadReport readDocument(DiagramScene &scene, const QJsonObject &top,
                        QList<DiagramObject *> *itemsRead)
{
    QList<DiagramObject *> made;
    ReadReport report;
    QVector<QJsonObject> texts;
    QVector<QJsonObject> arrows;
    int largestId = -1;
    const QJsonArray items = top.value(QLatin1String("items")).toArray();
    for (const QJsonValue &value : items) {
        if (!value.isObject()) {
            ++report.skippedItems;
            continue;
        }
        const QJsonObject object = value.toObject();
        const int type = wholeNumber(object, "type");
        if (type == DiagramTextItem::Type)
            texts.append(object);
        else if (type == Arrow::Type)
            arrows.append(object);
        else if (QGraphicsItem *item = readItem(scene, object, &report))
            made.append(DiagramObject::from(item));
        else
            continue;
        // Every id the file gives is kept clear of new items, even an id of
        // an item that is read later or not at all.
        largestId = std::max(largestId, wholeNumber(object, "id"));
    }
    for (const QVector<QJsonObject> *later : {&texts, &arrows}) {
        for (const QJsonObject &object : *later) {
            if (QGraphicsItem *item = readItem(scene, object, &report))
                made.append(DiagramObject::from(item));
        }
    }

    const JsonFields fields(top);
    readBackground(scene, fields);
    for (const SceneCounter &counter : sceneCounters)
        counter.set(scene, fields.integer(counter.key, JsonFields::Optional, 0, SceneJson::maxCount));
    report.correctedValues += fields.corrections();
    scene.setNbItems(std::max(scene.nbItems(), largestId + 1));
    if (itemsRead)
        *itemsRead = made;
    return report;
}
