#include "app/ItemsMime.h"

#include "io/ItemCopy.h"
#include "scene/DiagramScene.h"
#include "scene/diagramBoundingRect.h"

#include <QJsonDocument>
#include <QMimeData>
#include <QPainter>

const char *const itemsMimeType = "application/x-pensato-items";

QMimeData *itemsMimeData(const QList<DiagramObject *> &objects)
{
    const QJsonArray items = copyItems(objects);
    if (items.isEmpty())
        return nullptr;
    auto *data = new QMimeData;
    data->setData(QLatin1String(itemsMimeType), QJsonDocument(items).toJson(QJsonDocument::Compact));
    data->setImageData(pictureOfItems(items));
    return data;
}

QJsonArray itemsOf(const QMimeData *data)
{
    if (!data || !data->hasFormat(QLatin1String(itemsMimeType)))
        return {};
    return QJsonDocument::fromJson(data->data(QLatin1String(itemsMimeType))).array();
}

// Drawn from a scene of their own, so that nothing around them shows.
QImage pictureOfItems(const QJsonArray &items)
{
    DiagramScene scene;
    pasteItems(scene, items, {});
    const QRectF area = diagramBoundingRect(scene).adjusted(-2, -2, 2, 2);
    QImage picture(area.size().toSize(), QImage::Format_ARGB32_Premultiplied);
    if (picture.isNull())
        return picture;
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    scene.render(&painter, QRectF(picture.rect()), area);
    return picture;
}
