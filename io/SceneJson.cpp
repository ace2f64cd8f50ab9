#include "io/SceneJson.h"

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
