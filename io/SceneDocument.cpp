#include "io/SceneDocument.h"

#include "io/ItemReader.h"
#include "io/ItemWriter.h"
#include "io/JsonFields.h"
#include "io/JsonTextWriter.h"
#include "io/SceneJson.h"
#include "io/SceneText.h"
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

namespace {

// The background and the counters.
void readMembers(DiagramScene &scene, const QJsonObject &top, ReadReport *report)
{
    const JsonFields fields(top);
    readBackground(scene, fields);
    for (const SceneCounter &counter : sceneCounters)
        counter.set(scene, fields.integer(counter.key, JsonFields::Optional, 0, SceneJson::maxCount));
    report->correctedValues += fields.corrections();
}

// The items of a document held as a tree, as SceneText gives them.
class ItemArray
{
public:
    explicit ItemArray(const QJsonArray &items)
        : m_items(items)
    {
    }
    int itemCount() const { return m_items.size(); }
    bool isObject(int index) const { return m_items.at(index).isObject(); }
    int peekedType(int) const { return SceneText::unknownType; }
    QJsonObject object(int index) const { return m_items.at(index).toObject(); }

private:
    const QJsonArray &m_items;
};

template <typename Items>
ReadReport readDocumentFrom(DiagramScene &scene, const QJsonObject &top, const Items &items,
                            QList<DiagramObject *> *itemsRead)
{
    QList<DiagramObject *> made;
    ReadReport report;
    // Texts and arrows are read after the shapes they join, and parsed only
    // then.
    QVector<int> texts;
    QVector<int> arrows;
    int largestId = -1;
    for (int index = 0; index < items.itemCount(); ++index) {
        if (!items.isObject(index)) {
            ++report.skippedItems;
            continue;
        }
        const int peeked = items.peekedType(index);
        QJsonObject object = peeked == SceneText::unknownType ? items.object(index) : QJsonObject();
        const int type = peeked == SceneText::unknownType ? wholeNumber(object, "type") : peeked;
        if (type == DiagramTextItem::Type) {
            texts.append(index);
            continue;
        }
        if (type == Arrow::Type) {
            arrows.append(index);
            continue;
        }
        if (peeked != SceneText::unknownType)
            object = items.object(index);
        QGraphicsItem *item = readItem(scene, object, &report);
        if (!item)
            continue;
        made.append(DiagramObject::from(item));
        // Every id the file gives is kept clear of new items, even an id of
        // an item that is read later or not at all.
        largestId = std::max(largestId, wholeNumber(object, "id"));
    }
    for (const QVector<int> *later : {&texts, &arrows}) {
        for (const int index : *later) {
            const QJsonObject object = items.object(index);
            largestId = std::max(largestId, wholeNumber(object, "id"));
            if (QGraphicsItem *item = readItem(scene, object, &report))
                made.append(DiagramObject::from(item));
        }
    }
    readMembers(scene, top, &report);
    scene.setNbItems(std::max(scene.nbItems(), largestId + 1));
    // What was read: the scene has nothing else yet.
    QRectF area;
    for (DiagramObject *object : qAsConst(made))
        area |= object->graphicsItem()->sceneBoundingRect();
    scene.growToCover(area);
    if (itemsRead)
        *itemsRead = made;
    return report;
}

} // namespace

ReadReport readDocument(DiagramScene &scene, const QJsonObject &top,
                        QList<DiagramObject *> *itemsRead)
{
    const QJsonArray items = top.value(QLatin1String("items")).toArray();
    return readDocumentFrom(scene, top, ItemArray(items), itemsRead);
}

ReadReport readDocument(DiagramScene &scene, const SceneText &text,
                        QList<DiagramObject *> *itemsRead)
{
    return readDocumentFrom(scene, text.members(), text, itemsRead);
}
