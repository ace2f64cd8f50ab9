#ifndef IOTESTSUPPORT_H
#define IOTESTSUPPORT_H

#include "io/SceneDocument.h"
#include "io/SceneFile.h"
#include "scene/Arrow.h"
#include "scene/DiagramImage.h"
#include "scene/DiagramScene.h"
#include "scene/DiagramTextItem.h"

#include <QJsonArray>
#include <QtTest>

#include <map>
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
    readSceneFile(path, &top, &reason);
    return top;
}

// Numbers to 12 digits: coordinates pass through item transforms.
inline QJsonValue rounded(const QJsonValue &value)
{
    if (value.isDouble())
        return QString::number(value.toDouble() + 0.0, 'g', 12).toDouble();
    if (value.isArray()) {
        QJsonArray array;
        for (const QJsonValue &element : value.toArray())
            array.append(rounded(element));
        return array;
    }
    QJsonObject object = value.toObject();
    for (auto it = object.begin(); it != object.end(); ++it)
        *it = rounded(*it);
    return value.isObject() ? QJsonValue(object) : value;
}

// Compares two documents line by line, items in a stable order (by type,
// then id) whatever the stacking order their writer met them in.
inline void compareDocuments(const QJsonObject &actual, const QJsonObject &expected)
{
    const auto lines = [](QJsonObject top) {
        std::multimap<std::pair<int, int>, QJsonValue> items;
        for (const QJsonValue &item : top.value(QLatin1String("items")).toArray())
            items.emplace(std::make_pair(item[QLatin1String("type")].toInt(),
                                         item[QLatin1String("id")].toInt()), item);
        QJsonArray sorted;
        for (const auto &item : items)
            sorted.append(item.second);
        top.insert(QStringLiteral("items"), sorted);
        return QString::fromUtf8(encodeSceneDocument(rounded(top).toObject())).split(QLatin1Char('\n'));
    };
    const QStringList a = lines(actual), e = lines(expected);
    for (int i = 0; i < std::max(a.size(), e.size()); ++i)
        QVERIFY2(a.value(i) == e.value(i), qPrintable(QStringLiteral("line %1: %2 instead of %3")
                                                           .arg(i + 1).arg(a.value(i), e.value(i))));
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
