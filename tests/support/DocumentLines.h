#ifndef DOCUMENTLINES_H
#define DOCUMENTLINES_H

#include "io/SceneFile.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QStringList>

#include <map>

// Numbers to 12 digits: coordinates pass through item transforms.
inline QJsonValue roundedNumbers(const QJsonValue &value)
{
    if (value.isDouble())
        return QString::number(value.toDouble() + 0.0, 'g', 12).toDouble();
    if (value.isArray()) {
        QJsonArray array;
        for (const QJsonValue &element : value.toArray())
            array.append(roundedNumbers(element));
        return array;
    }
    QJsonObject object = value.toObject();
    for (auto it = object.begin(); it != object.end(); ++it)
        *it = roundedNumbers(*it);
    return value.isObject() ? QJsonValue(object) : value;
}

// A scene document's lines, items in a stable order (by type, then id)
// whatever the stacking order their writer met them in, to compare a
// scene with the one read back from its file.
inline QStringList documentLines(QJsonObject top)
{
    std::multimap<std::pair<int, int>, QJsonValue> items;
    for (const QJsonValue &item : top.value("items").toArray())
        items.emplace(std::make_pair(item["type"].toInt(), item["id"].toInt()), item);
    QJsonArray sorted;
    for (const auto &item : items)
        sorted.append(item.second);
    top.insert("items", sorted);
    return QString::fromUtf8(encodeSceneDocument(roundedNumbers(top).toObject())).split('\n');
}

#endif // DOCUMENTLINES_H
