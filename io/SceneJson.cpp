#include "io/SceneJson.h"

#include "scene/DiagramImage.h"
#include "scene/DiagramItem.h"

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

double finiteOrZero(const QJsonValue &value)
{
    const double d = value.toDouble(0.0);
    return std::isfinite(d) ? d : 0.0;
}

} // namespace

double number(const QJsonObject &object, const char *key, double limit)
{
    return qBound(-limit, finiteOrZero(object.value(QLatin1String(key))), limit);
}

int integer(const QJsonObject &object, const char *key, int min, int max)
{
    // Clamping as a double first keeps the conversion to int defined.
    const double d = std::trunc(finiteOrZero(object.value(QLatin1String(key))));
    return static_cast<int>(qBound(double(min), d, double(max)));
}

int degrees(const QJsonObject &object, const char *key)
{
    return static_cast<int>(std::trunc(std::fmod(finiteOrZero(object.value(QLatin1String(key))), 360.0)));
}

int id(const QJsonObject &object, const char *key)
{
    return integer(object, key, -maxCount, maxCount);
}

int counter(const QJsonObject &object, const char *key)
{
    return integer(object, key, 0, maxCount);
}

int itemType(const QJsonObject &object)
{
    return integer(object, "type", 0, maxCount);
}

bool boolean(const QJsonObject &object, const char *key)
{
    return object.value(QLatin1String(key)).toBool(false);
}

QString string(const QJsonObject &object, const char *key)
{
    return object.value(QLatin1String(key)).toString();
}

QJsonObject object(const QJsonObject &object, const char *key)
{
    return object.value(QLatin1String(key)).toObject();
}

QColor color(const QJsonObject &object, const char *key)
{
    const QJsonObject rgb = SceneJson::object(object, key);
    return QColor(integer(rgb, "r", 0, 255),
                  integer(rgb, "g", 0, 255),
                  integer(rgb, "b", 0, 255));
}

QJsonObject colorObject(const QColor &color)
{
    return {{QStringLiteral("r"), color.red()},
            {QStringLiteral("g"), color.green()},
            {QStringLiteral("b"), color.blue()}};
}

QPixmap pictureFromFile(const QString &path)
{
    return QFileInfo(path).isFile() ? QPixmap(path) : QPixmap();
}

QJsonObject positionObject(const QGraphicsItem &item)
{
    // pos(), not scenePos(): a shape turns about the centre of its bounding
    // rectangle, which may lie off its origin, so scenePos() moves with the
    // rotation and setPos(scenePos()) would shift the item at every load.
    const QPointF pos = item.pos();
    return {{QStringLiteral("x"), pos.x()},
            {QStringLiteral("y"), pos.y()},
            {QStringLiteral("z"), item.zValue()}};
}

void applyPosition(QGraphicsItem &item, const QJsonObject &position)
{
    item.setPos(number(position, "x"), number(position, "y"));
    item.setZValue(number(position, "z"));
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

QJsonObject endObject(const QGraphicsItem &item)
{
    QJsonObject object{{QStringLiteral("type"), item.type()}};
    if (item.type() == DiagramItem::Type)
        object.insert(QStringLiteral("id"), static_cast<const DiagramItem &>(item).id());
    else if (item.type() == DiagramImage::Type)
        object.insert(QStringLiteral("id"), static_cast<const DiagramImage &>(item).id());
    return object;
}

} // namespace SceneJson
