#include "io/ItemReader.h"

#include "io/JsonFields.h"
#include "io/ReadReport.h"
#include "io/SceneJson.h"
#include "scene/Arrow.h"
#include "scene/DiagramImage.h"
#include "scene/DiagramItem.h"
#include "scene/DiagramScene.h"
#include "scene/DiagramTextItem.h"

#include <QBrush>
#include <QFont>
#include <QPen>

#include <cmath>
#include <memory>

using namespace SceneJson;

namespace {

using F = JsonFields;

// Scales under this leave an item too small to see or to grab.
constexpr double minScale = 0.01;

int itemId(const JsonFields &fields)
{
    return fields.integer("id", F::Required, -maxCount, maxCount);
}

// A name the list can show: a missing, blank or mistyped one is made from
// the kind and the id, so that no entry is blank. (A blank name is the
// user's doing, not damage: it is replaced without a word.)
QString itemName(const JsonFields &fields, const QString &kind)
{
    const QString name = fields.string("name", F::Optional);
    if (!name.trimmed().isEmpty())
        return name;
    return kind + QLatin1Char(' ') + QString::number(itemId(fields));
}

// Whole degrees within (-360, 360).
int degrees(const JsonFields &fields)
{
    return int(std::trunc(std::fmod(fields.number("rotation", F::Optional, -maxCoordinate,
                                                  maxCoordinate), 360.0)));
}

// The natural size when missing. A mirrored or flattened item is not what
// any version of the program wrote: it would show upside down or not at
// all, so such a scale is corrected too.
double scaleFactor(const JsonFields &fields, const char *key)
{
    const double scale = fields.number(key, F::Optional, -maxScale, maxScale, 1.0);
    if (scale <= 0) {
        fields.corrected();
        return 1.0;
    }
    if (scale < minScale)
        fields.corrected();
    return qMax(scale, minScale);
}

void applyPosition(QGraphicsItem &item, const JsonFields &fields)
{
    const JsonFields position = fields.object("position", F::Optional);
    item.setPos(position.number("x", F::Optional, -maxCoordinate, maxCoordinate),
                position.number("y", F::Optional, -maxCoordinate, maxCoordinate));
    item.setZValue(position.number("z", F::Optional, -maxCoordinate, maxCoordinate));
}

QPen borderPen(const JsonFields &shape)
{
    const JsonFields border = shape.object("border", F::Optional);
    // Cosmetic, like the pen of a new shape: its width ignores the scale.
    QPen pen;
    pen.setColor(border.color("color", F::Optional, Qt::black));
    pen.setWidth(border.integer("width", F::Optional, 0, maxPenWidth, 1));
    pen.setCosmetic(true);
    return pen;
}

QFont textFont(const JsonFields &text)
{
    const JsonFields fields = text.object("font", F::Optional);
    QFont font;
    font.setWeight(fields.boolean("bold", F::Optional) ? QFont::Bold : QFont::Normal);
    font.setItalic(fields.boolean("italic", F::Optional));
    font.setUnderline(fields.boolean("underline", F::Optional));
    font.setStrikeOut(fields.boolean("strikeout", F::Optional));
    font.setFamily(fields.string("family", F::Optional));
    if (fields.contains("size"))
        font.setPointSize(fields.integer("size", F::Optional, 1, maxFontSize, font.pointSize()));
    return font;
}

// A shape or picture of the scene named by an arrow's end object.
QGraphicsItem *endItem(const DiagramScene &scene, const JsonFields &arrow, const char *key)
{
    const JsonFields end = arrow.object(key, F::Required);
    QGraphicsItem *item = scene.itemById(end.integer("id", F::Required, -maxCount, maxCount));
    if (item && (item->type() == DiagramItem::Type || item->type() == DiagramImage::Type))
        return item;
    arrow.reject();
    return nullptr;
}

// The item joins the scene only when every required value was usable;
// items that are dropped were never in it and take nothing with them.
template <typename T>
T *keepIfUsable(DiagramScene &scene, std::unique_ptr<T> item, const JsonFields &fields)
{
    if (!fields.isUsable())
        return nullptr;
    scene.addLoadedItem(item.get());
    return item.release();
}

QGraphicsItem *readShape(DiagramScene &scene, const JsonFields &fields)
{
    const int diagram = fields.choice("diagram", F::Required, DiagramItem::TypeCount);
    std::unique_ptr<DiagramItem> shape(scene.newShape(DiagramItem::DiagramType(diagram)));
    shape->setBrush(QBrush(fields.color("color", F::Optional, Qt::black), Qt::SolidPattern));
    applyPosition(*shape, fields);
    // The pen first: the transforms turn about the centre of the bounding
    // rectangle, which the pen widens.
    shape->setPen(borderPen(fields));
    shape->changeTransform(degrees(fields), false, 0.0, 0.0, false);
    const JsonFields scale = fields.object("scale", F::Optional);
    shape->changeTransform(0, true, scaleFactor(scale, "x"), scaleFactor(scale, "y"), false);
    shape->setId(itemId(fields));
    shape->setName(itemName(fields, DiagramItem::typeName(DiagramItem::DiagramType(diagram))));
    return keepIfUsable(scene, std::move(shape), fields);
}

QGraphicsItem *readImage(DiagramScene &scene, const JsonFields &fields)
{
    // A picture without a readable file still shows, as a card naming it.
    const QString path = fields.string("path", F::Optional);
    const bool isMath = fields.boolean("math", F::Required);
    // A formula must have something to typeset: "$" alone draws nothing.
    if (isMath && path.mid(1).trimmed().isEmpty())
        fields.reject();
    if (!fields.isUsable())
        return nullptr;
    std::unique_ptr<DiagramImage> image(scene.newImage());
    if (!isMath)
        image->setContent(path, pictureFromFile(path), false);
    else if (!image->setFormula(path))
        fields.reject();
    // Integer halves, as for a picture placed by hand: the position is the centre.
    const QPixmap shown = image->pixmap();
    image->setOffset(-(shown.width() / 2), -(shown.height() / 2));
    applyPosition(*image, fields);
    image->changeTransform(degrees(fields), false);
    image->changeTransform(0, true, scaleFactor(fields, "scale"));
    image->setId(itemId(fields));
    image->setName(itemName(fields, isMath ? QStringLiteral("Math") : QStringLiteral("Image")));
    image->setFlag(QGraphicsItem::ItemIsMovable);
    image->setFlag(QGraphicsItem::ItemIsSelectable);
    return keepIfUsable(scene, std::move(image), fields);
}

// The shape a text object asks to be linked to: null when the text is not
// linked or the id names no shape (a damaged link is dropped, the text kept).
DiagramItem *linkedShape(const DiagramScene &scene, const JsonFields &fields)
{
    if (!fields.boolean("linked", F::Optional))
        return nullptr;
    const int id = fields.integer("linkedId", F::Optional, -maxCount, maxCount, -1);
    QGraphicsItem *item = scene.itemById(id);
    if (!item || item->type() != DiagramItem::Type) {
        fields.corrected();
        return nullptr;
    }
    return static_cast<DiagramItem *>(item);
}

QGraphicsItem *readText(DiagramScene &scene, const JsonFields &fields)
{
    std::unique_ptr<DiagramTextItem> text(scene.newText());
    text->setFont(textFont(fields));
    applyPosition(*text, fields);
    text->setDefaultTextColor(fields.color("color", F::Optional, Qt::black));
    text->setId(itemId(fields));
    text->setName(itemName(fields, QStringLiteral("Texte")));
    const QString plain = fields.string("text", F::Required);
    // An empty text is invisible; the editor itself removes one when its
    // editing ends, so the file's copy goes without a word.
    if (plain.trimmed().isEmpty() && fields.isUsable())
        return nullptr;
    text->setPlainText(plain);
    // Aligned before anything measures it: the text is laid out once.
    text->setAlignment(alignmentFromNumber(fields.choice("alignment", F::Optional, 4, 0)));
    DiagramTextItem *kept = keepIfUsable(scene, std::move(text), fields);
    if (!kept)
        return nullptr;
    if (DiagramItem *shape = linkedShape(scene, fields)) {
        // A shape fits around one text only; a second claim is dropped.
        if (!scene.linkText(kept, shape))
            fields.corrected();
    }
    return kept;
}

QGraphicsItem *readArrow(DiagramScene &scene, const JsonFields &fields)
{
    QGraphicsItem *start = endItem(scene, fields, "startItem");
    QGraphicsItem *end = endItem(scene, fields, "endItem");
    // An arrow from an item to itself would sit twice in one arrow list.
    if (!fields.isUsable() || start == end) {
        fields.reject();
        return nullptr;
    }

    std::unique_ptr<Arrow> arrow(
        scene.newArrow(start, end, fields.integer("width", F::Optional, 1, maxArrowSize, 20)));
    arrow->setColor(fields.color("color", F::Optional, Qt::black));
    arrow->setZValue(-1000.0);
    arrow->setId(itemId(fields));
    arrow->setName(itemName(fields, QStringLiteral("Flèche")));
    if (fields.boolean("isPointed", F::Optional)) {
        const JsonFields point = fields.object("pointToBe", F::Optional);
        if (point.contains("x") && point.contains("y"))
            arrow->setPointToBe(QPointF(point.number("x", F::Optional, -maxCoordinate, maxCoordinate),
                                        point.number("y", F::Optional, -maxCoordinate, maxCoordinate)));
        else
            fields.corrected();
    }
    Arrow *kept = keepIfUsable(scene, std::move(arrow), fields);
    if (!kept)
        return nullptr;
    kept->updatePosition();
    return kept;
}

} // namespace

QGraphicsItem *readItem(DiagramScene &scene, const QJsonObject &object, ReadReport *report)
{
    const JsonFields fields(object);
    QGraphicsItem *read = nullptr;
    bool isItemKind = true;
    switch (fields.integer("type", F::Required, 0, maxCount)) {
    case DiagramItem::Type:
        read = readShape(scene, fields);
        break;
    case DiagramImage::Type:
        read = readImage(scene, fields);
        break;
    case DiagramTextItem::Type:
        read = readText(scene, fields);
        break;
    case Arrow::Type:
        read = readArrow(scene, fields);
        break;
    default:
        isItemKind = false;
        break;
    }
    // Corrections count only for what was kept.
    if (read)
        report->correctedValues += fields.corrections();
    else if (!fields.isUsable() || !isItemKind)
        ++report->skippedItems;
    return read;
}
