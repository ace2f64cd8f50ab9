#include "io/SceneJson.h"

#include "io/JsonTextWriter.h"

#include <QFileInfo>
#include <QGraphicsItem>
#include <QJsonValue>

#include <algorithm>
#include <cmath>
#include <iterator>

namespace SceneJson {

namespace {

// Indexed by the file's alignment number.
const int alignments[] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignCenter, Qt::AlignJustify};

} // namespace

void writeColor(JsonTextWriter &json, const char *key, const QColor &color)
{
    json.key(QLatin1String(key));
    json.beginObject();
    json.member("b", color.blue());
    json.member("g", color.green());
    json.member("r", color.red());
    json.endObject();
}

QPixmap pictureFromFile(const QString &path)
{
    return QFileInfo(path).isFile() ? QPixmap(path) : QPixmap();
}

void writePosition(JsonTextWriter &json, const QGraphicsItem &item)
{
    // pos(), not scenePos(): a shape turns about the centre of its bounding
    // rectangle, which may lie off its origin, so scenePos() moves with the
    // rotation and setPos(scenePos()) would shift the item at every load.
    const QPointF pos = item.pos();
    json.key(QLatin1String("position"));
    json.beginObject();
    json.member("x", pos.x());
    json.member("y", pos.y());
    json.member("z", item.zValue());
    json.endObject();
}

int alignmentNumber(int alignment)
{
    const int *found = std::find(std::begin(alignments), std::end(alignments), alignment);
    return found == std::end(alignments) ? -1 : int(found - std::begin(alignments));
}

int alignmentFromNumber(int number)
{
    return number >= 0 && number < int(std::size(alignments)) ? alignments[number] : 0;
}

} // namespace SceneJson
