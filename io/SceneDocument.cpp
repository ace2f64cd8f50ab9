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
    {"nbCarre", &DiagramScene::nbCarre, &DiagramScene::setNbCarre},
    {"nbRoundedCarre", &DiagramScene::nbRoundedCarre, &DiagramScene::setNbRoundedCarre},
    {"nbTriangle", &DiagramScene::nbTriangle, &DiagramScene::setNbTriangle},
    {"nbRectangle", &DiagramScene::nbRectangle, &DiagramScene::setNbRectangle},
    {"nbRoundedRectangle", &DiagramScene::nbRoundedRectangle, &DiagramScene::setNbRoundedRectangle},
    {"nbPentagone", &DiagramScene::nbPentagone, &DiagramScene::setNbPentagone},
    {"nbCercle", &DiagramScene::nbCercle, &DiagramScene::setNbCercle},
    {"nbText", &DiagramScene::nbText, &DiagramScene::setNbText},
    {"nbMath", &DiagramScene::nbMath, &DiagramScene::setNbMath},
    {"nbImage", &DiagramScene::nbImage, &DiagramScene::setNbImage},
    {"nbItems", &DiagramScene::nbItems, &DiagramScene::setNbItems},
    {"nbArrows", &DiagramScene::nbArrows, &DiagramScene::setNbArrows},
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
        (scene.*counter.set)(SceneJson::counter(top, counter.key));
    scene.setNbItems(std::max(scene.nbItems(), largestId + 1));
}
