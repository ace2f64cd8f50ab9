#include "io/SceneDocument.h"

#include "io/SceneJson.h"
#include "scene/Arrow.h"
#include "scene/DiagramImage.h"
#include "scene/DiagramScene.h"
#include "scene/DiagramTextItem.h"

#include <QJsonArray>
#include <QVector>

#include <algorithm>

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

void readBackground(DiagramScene &scene, const QJsonObject &background)
{
    const QString type = SceneJson::string(background, "type");
    if (type == QLatin1String("transparent")) {
        scene.setBackground(QBrush(Qt::NoBrush), true, false, false, QString(), Qt::white);
    } else if (type == QLatin1String("color")) {
        const QColor color = SceneJson::color(background, "color");
        scene.setBackground(QBrush(color, Qt::SolidPattern), false, true, false, QString(), color);
    } else if (type == QLatin1String("pixmap")) {
        const QString path = SceneJson::string(background, "path");
        const QPixmap picture = SceneJson::pictureFromFile(path);
        // An unreadable picture keeps its path (and its button state) but
        // paints nothing rather than an empty texture.
        const QBrush brush = picture.isNull() ? QBrush(Qt::NoBrush) : QBrush(picture);
        scene.setBackground(brush, false, false, true, path, Qt::white);
    }
}

void readDocument(DiagramScene &scene, const QJsonObject &top)
{
    QVector<QJsonObject> texts;
    QVector<QJsonObject> arrows;
    int largestId = -1;
    const QJsonArray items = top.value(QLatin1String("items")).toArray();
    for (const QJsonValue &value : items) {
        const QJsonObject object = value.toObject();
        switch (SceneJson::itemType(object)) {
        case DiagramTextItem::Type:
            texts.append(object);
            break;
        case Arrow::Type:
            arrows.append(object);
            break;
        case DiagramItem::Type:
        case DiagramImage::Type:
            scene.itemFromJson(object);
            break;
        default:
            continue; // an unknown kind takes no id
        }
        largestId = std::max(largestId, SceneJson::id(object, "id"));
    }
    for (const QJsonObject &object : qAsConst(texts))
        scene.itemFromJson(object);
    for (const QJsonObject &object : qAsConst(arrows))
        scene.itemFromJson(object);

    readBackground(scene, SceneJson::object(top, "background"));
    for (const SceneCounter &counter : sceneCounters)
        counter.set(scene, SceneJson::counter(top, counter.key));
    scene.setNbItems(std::max(scene.nbItems(), largestId + 1));
}
