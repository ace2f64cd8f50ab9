#include "io/SceneDocument.h"

#include "io/ItemReader.h"
#include "io/ItemWriter.h"
#include "io/JsonFields.h"
#include "io/JsonTextWriter.h"
#include "io/SceneJson.h"
#include "scene/Arrow.h"
#include "scene/DiagramImage.h"
#include "scene/DiagramScene.h"
#include "scene/DiagramTextItem.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QVector>

#include <algorithm>
#include <cmath>

// In ascending order of key, the order of the file's top-level object.
const SceneCounter sceneCounters[12] = {
    {"nbArrows", [](const DiagramScene &s) { return s.nbArrows(); },
     [](DiagramScene &s, int n) { s.setNbArrows(n); }},
    {"nbCarre", [](const DiagramScene &s) { return s.nbCarre(); },
     [](DiagramScene &s, int n) { s.setNbCarre(n); }},
    {"nbCercle", [](const DiagramScene &s) { return s.nbCercle(); },
     [](DiagramScene &s, int n) { s.setNbCercle(n); }},
    {"nbImage", [](const DiagramScene &s) { return s.nbImage(); },
     [](DiagramScene &s, int n) { s.setNbImage(n); }},
    {"nbItems", [](const DiagramScene &s) { return s.nbItems(); },
     [](DiagramScene &s, int n) { s.setNbItems(n); }},
    {"nbMath", [](const DiagramScene &s) { return s.nbMath(); },
     [](DiagramScene &s, int n) { s.setNbMath(n); }},
    {"nbPentagone", [](const DiagramScene &s) { return s.nbPentagone(); },
     [](DiagramScene &s, int n) { s.setNbPentagone(n); }},
    {"nbRectangle", [](const DiagramScene &s) { return s.nbRectangle(); },
     [](DiagramScene &s, int n) { s.setNbRectangle(n); }},
    {"nbRoundedCarre", [](const DiagramScene &s) { return s.nbRoundedCarre(); },
     [](DiagramScene &s, int n) { s.setNbRoundedCarre(n); }},
    {"nbRoundedRectangle", [](const DiagramScene &s) { return s.nbRoundedRectangle(); },
     [](DiagramScene &s, int n) { s.setNbRoundedRectangle(n); }},
    {"nbText", [](const DiagramScene &s) { return s.nbText(); },
     [](DiagramScene &s, int n) { s.setNbText(n); }},
    {"nbTriangle", [](const DiagramScene &s) { return s.nbTriangle(); },
     [](DiagramScene &s, int n) { s.setNbTriangle(n); }},
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

void writeBackground(JsonTextWriter &json, const DiagramScene &scene)
{
    json.key(QLatin1String("background"));
    json.beginObject();
    if (scene.isTransparent()) {
        json.member("type", QStringLiteral("transparent"));
    } else if (scene.isColorBackground()) {
        SceneJson::writeColor(json, "color", scene.backgroundBrush().color());
        json.member("type", QStringLiteral("color"));
    } else if (scene.isPictureBackground()) {
        json.member("path", scene.backgroundPath());
        json.member("type", QStringLiteral("pixmap"));
    }
    json.endObject();
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

void writeDocumentMembers(JsonTextWriter &json, const DiagramScene &scene)
{
    // Topmost first: higher z-values first, and of equal ones the later in
    // the item list, a order that undoing a deletion gives back whole.
    QList<DiagramObject *> objects = scene.objects();
    std::reverse(objects.begin(), objects.end());
    std::stable_sort(objects.begin(), objects.end(),
                     [](const DiagramObject *a, const DiagramObject *b) {
                         return a->graphicsItem()->zValue() > b->graphicsItem()->zValue();
                     });
    writeBackground(json, scene);
    json.key(QLatin1String("items"));
    json.beginArray();
    for (const DiagramObject *object : qAsConst(objects))
        writeItem(json, *object);
    json.endArray();
    for (const SceneCounter &counter : sceneCounters)
        json.member(counter.key, counter.get(scene));
}

QByteArray documentText(const DiagramScene &scene)
{
    JsonTextWriter json;
    json.beginObject();
    writeDocumentMembers(json, scene);
    json.endObject();
    return json.text();
}

QJsonObject writeDocument(const DiagramScene &scene)
{
    return QJsonDocument::fromJson(documentText(scene)).object();
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
    // What was read, in one pass: diagramBoundingRect() would sort every
    // item of the scene by stacking order first.
    QRectF area;
    for (DiagramObject *object : qAsConst(made))
        area |= object->graphicsItem()->sceneBoundingRect();
    scene.growToCover(area);
    if (itemsRead)
        *itemsRead = made;
    return report;
}
