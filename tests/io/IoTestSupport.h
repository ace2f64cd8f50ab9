#ifndef IOTESTSUPPORT_H
#define IOTESTSUPPORT_H

#include "io/SceneFile.h"
#include "scene/Arrow.h"
#include "scene/DiagramImage.h"
#include "scene/DiagramScene.h"
#include "scene/DiagramTextItem.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <memory>

// Helpers shared by the scene file tests.
namespace IoTest {

// A scene as the file code sees it: without menus or property widgets.
inline std::unique_ptr<DiagramScene> newScene()
{
    return std::make_unique<DiagramScene>(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                          nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
}

inline QJsonObject readFile(const QString &path)
{
    QJsonObject top;
    QString reason;
    if (readSceneFile(path, &top, &reason) != SceneFileRead::Ok)
        qWarning("IoTest::readFile: %s: %s", qPrintable(path), qPrintable(reason));
    return top;
}

// Items in a stable order (by type, then id), so that documents can be
// compared whatever the stacking order their writer met the items in.
inline QJsonObject normalised(QJsonObject top)
{
    QVector<QJsonObject> items;
    for (const QJsonValue &value : top.value(QLatin1String("items")).toArray())
        items.append(value.toObject());
    std::stable_sort(items.begin(), items.end(), [](const QJsonObject &a, const QJsonObject &b) {
        const auto key = [](const QJsonObject &o) {
            return std::make_pair(o.value(QLatin1String("type")).toInt(),
                                  o.value(QLatin1String("id")).toInt());
        };
        return key(a) < key(b);
    });
    QJsonArray array;
    for (const QJsonObject &item : items)
        array.append(item);
    top.insert(QStringLiteral("items"), array);
    return top;
}

// Empty when the two values are the same, numbers compared to a relative
// 1e-9 (coordinates pass through item transforms); else where they differ.
inline QString difference(const QJsonValue &actual, const QJsonValue &expected,
                          const QString &where = QStringLiteral("$"))
{
    if (actual.isDouble() && expected.isDouble()) {
        const double a = actual.toDouble(), e = expected.toDouble();
        const double scale = std::max({1.0, std::abs(a), std::abs(e)});
        return std::abs(a - e) <= 1e-9 * scale
                   ? QString()
                   : QStringLiteral("%1: %2 instead of %3").arg(where).arg(a).arg(e);
    }
    if (actual.type() != expected.type())
        return QStringLiteral("%1: type %2 instead of %3").arg(where).arg(actual.type()).arg(expected.type());
    if (actual.isObject()) {
        const QJsonObject a = actual.toObject(), e = expected.toObject();
        if (a.keys() != e.keys())
            return QStringLiteral("%1: keys (%2) instead of (%3)")
                .arg(where, a.keys().join(QLatin1Char(',')), e.keys().join(QLatin1Char(',')));
        for (const QString &key : e.keys()) {
            const QString d = difference(a.value(key), e.value(key), where + QLatin1Char('.') + key);
            if (!d.isEmpty())
                return d;
        }
        return QString();
    }
    if (actual.isArray()) {
        const QJsonArray a = actual.toArray(), e = expected.toArray();
        if (a.size() != e.size())
            return QStringLiteral("%1: %2 elements instead of %3").arg(where).arg(a.size()).arg(e.size());
        for (int i = 0; i < e.size(); ++i) {
            const QString d = difference(a.at(i), e.at(i), QStringLiteral("%1[%2]").arg(where).arg(i));
            if (!d.isEmpty())
                return d;
        }
        return QString();
    }
    return actual == expected ? QString()
                              : QStringLiteral("%1: %2 instead of %3")
                                    .arg(where, actual.toVariant().toString(),
                                         expected.toVariant().toString());
}

// The id of an item of any of the four kinds; -1 for anything else.
inline int idOf(const QGraphicsItem *item)
{
    switch (item->type()) {
    case DiagramItem::Type:
        return static_cast<const DiagramItem *>(item)->id();
    case DiagramTextItem::Type:
        return static_cast<const DiagramTextItem *>(item)->id();
    case DiagramImage::Type:
        return static_cast<const DiagramImage *>(item)->id();
    case Arrow::Type:
        return static_cast<const Arrow *>(item)->id();
    default:
        return -1;
    }
}

// Items of one kind in the scene.
template <typename T>
QList<T *> itemsOf(const QGraphicsScene &scene)
{
    QList<T *> result;
    for (QGraphicsItem *item : scene.items())
        if (item->type() == T::Type)
            result.append(static_cast<T *>(item));
    return result;
}

} // namespace IoTest

#endif // IOTESTSUPPORT_H
