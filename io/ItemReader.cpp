#include "io/ItemReader.h"

#include "io/SceneJson.h"
#include "scene/Arrow.h"
#include "scene/DiagramImage.h"
#include "scene/DiagramItem.h"
#include "scene/DiagramScene.h"
#include "scene/DiagramTextItem.h"

#include <QBrush>
#include <QFont>
#include <QPen>

using namespace SceneJson;

namespace {

QPen borderPen(const QJsonObject &border)
{
    // Cosmetic, like the pen of a new shape: its width ignores the scale.
    QPen pen;
    pen.setColor(color(border, "color"));
    pen.setWidth(integer(border, "width", 0, maxPenWidth));
    pen.setCosmetic(true);
    return pen;
}

QFont textFont(const QJsonObject &object)
{
    QFont font;
    font.setWeight(boolean(object, "bold") ? QFont::Bold : QFont::Normal);
    font.setItalic(boolean(object, "italic"));
    font.setUnderline(boolean(object, "underline"));
    font.setStrikeOut(boolean(object, "strikeout"));
    font.setFamily(string(object, "family"));
    // A size that is missing or not positive keeps the default size, as
    // QFont refuses it anyway.
    const int size = integer(object, "size", 0, maxFontSize);
    if (size > 0)
        font.setPointSize(size);
    return font;
}

// A shape or picture of the scene with the id of an arrow's end object.
QGraphicsItem *endItem(const DiagramScene &scene, const QJsonObject &end)
{
    QGraphicsItem *item = scene.itemById(id(end, "id"));
    if (item && (item->type() == DiagramItem::Type || item->type() == DiagramImage::Type))
        return item;
    return nullptr;
}

} // namespace

DiagramItem *shapeFromJson(DiagramScene &scene, const QJsonObject &object)
{
    const int diagram = integer(object, "diagram", -1, DiagramItem::TypeCount);
    if (diagram < 0 || diagram >= DiagramItem::TypeCount)
        return nullptr;

    DiagramItem *shape = scene.newShape(DiagramItem::DiagramType(diagram));
    shape->setBrush(QBrush(color(object, "color"), Qt::SolidPattern));
    scene.addItem(shape);
    applyPosition(*shape, SceneJson::object(object, "position"));
    // The pen first: the transforms turn about the centre of the bounding
    // rectangle, which the pen widens.
    shape->setPen(borderPen(SceneJson::object(object, "border")));
    shape->changeTransform(degrees(object, "rotation"), false, 0.0, 0.0, false);
    const QJsonObject scale = SceneJson::object(object, "scale");
    shape->changeTransform(0, true, number(scale, "x", maxScale),
                           number(scale, "y", maxScale), false);
    shape->setName(string(object, "name"));
    shape->setId(id(object, "id"));
    return shape;
}

DiagramImage *imageFromJson(DiagramScene &scene, const QJsonObject &object)
{
    const QString path = string(object, "path");
    const bool isMath = boolean(object, "math");
    const QPixmap pixmap = isMath ? DiagramScene::renderFormula(path) : pictureFromFile(path);

    DiagramImage *image = scene.newImage();
    image->setContent(path, pixmap, isMath);
    scene.addItem(image);
    // Integer halves, as for a picture placed by hand: the position is the centre.
    image->setOffset(-(pixmap.width() / 2), -(pixmap.height() / 2));
    applyPosition(*image, SceneJson::object(object, "position"));
    image->changeTransform(degrees(object, "rotation"), false);
    image->changeTransform(0, true, number(object, "scale", maxScale));
    image->setName(string(object, "name"));
    image->setId(id(object, "id"));
    image->setFlag(QGraphicsItem::ItemIsMovable);
    image->setFlag(QGraphicsItem::ItemIsSelectable);
    return image;
}

DiagramTextItem *textFromJson(DiagramScene &scene, const QJsonObject &object)
{
    DiagramTextItem *text = scene.newText();
    text->setFont(textFont(SceneJson::object(object, "font")));
    applyPosition(*text, SceneJson::object(object, "position"));
    text->setDefaultTextColor(color(object, "color"));
    text->setName(string(object, "name"));
    text->setId(id(object, "id"));
    text->setPlainText(string(object, "text"));
    scene.addItem(text);
    return text;
}

Arrow *arrowFromJson(DiagramScene &scene, const QJsonObject &object)
{
    QGraphicsItem *start = endItem(scene, SceneJson::object(object, "startItem"));
    QGraphicsItem *end = endItem(scene, SceneJson::object(object, "endItem"));
    // An arrow from an item to itself would sit twice in one arrow list.
    if (!start || !end || start == end)
        return nullptr;

    Arrow *arrow = scene.newArrow(start, end, integer(object, "width", 0, maxArrowSize));
    arrow->setColor(color(object, "color"));
    arrow->setZValue(-1000.0);
    arrow->setName(string(object, "name"));
    arrow->setId(id(object, "id"));
    if (boolean(object, "isPointed")) {
        const QJsonObject point = SceneJson::object(object, "pointToBe");
        arrow->setPointToBe(QPointF(number(point, "x"), number(point, "y")));
    }
    scene.addItem(arrow);
    return arrow;
}

DiagramItem *linkedShapeFromJson(const DiagramScene &scene, const QJsonObject &object)
{
    if (!boolean(object, "linked"))
        return nullptr;
    QGraphicsItem *item = scene.itemById(id(object, "linkedId"));
    if (!item || item->type() != DiagramItem::Type)
        return nullptr;
    auto *shape = static_cast<DiagramItem *>(item);
    return shape->hasLinkedText() ? nullptr : shape;
}

void readTextAlignment(DiagramTextItem &text, const QJsonObject &object)
{
    const int alignment = alignmentFromNumber(integer(object, "alignment", -1, 4));
    if (alignment != 0)
        text.setAlignment(alignment);
}
