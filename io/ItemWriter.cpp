#include "io/ItemWriter.h"

#include "io/JsonTextWriter.h"
#include "io/SceneJson.h"
#include "scene/Arrow.h"
#include "scene/DiagramImage.h"
#include "scene/DiagramItem.h"
#include "scene/DiagramObjectVisitor.h"
#include "scene/DiagramTextItem.h"

#include <QFont>
#include <QGraphicsRotation>
#include <QGraphicsScale>
#include <QPen>

using namespace SceneJson;

namespace {

void writeFont(JsonTextWriter &json, const QFont &font)
{
    json.key(QLatin1String("font"));
    json.beginObject();
    json.member("bold", font.bold());
    json.member("family", font.family());
    json.member("italic", font.italic());
    json.member("size", font.pointSize());
    json.member("strikeout", font.strikeOut());
    json.member("underline", font.underline());
    json.endObject();
}

// An arrow end: {"id", "type"}; only shapes and pictures end arrows.
void writeEnd(JsonTextWriter &json, const char *key, const QGraphicsItem &item)
{
    json.key(QLatin1String(key));
    json.beginObject();
    if (const DiagramObject *end = DiagramObject::from(&item))
        json.member("id", end->id());
    json.member("type", item.type());
    json.endObject();
}

// Each object's keys in ascending order, as the files have always had them.
class Writer : public DiagramObjectVisitor
{
public:
    explicit Writer(JsonTextWriter &json) : json(json) {}

    void visit(const DiagramItem &shape) override
    {
        const QPen pen = shape.pen();
        json.beginObject();
        json.key(QLatin1String("border"));
        json.beginObject();
        writeColor(json, "color", pen.color());
        json.member("width", pen.width());
        json.endObject();
        writeColor(json, "color", shape.brush().color());
        json.member("diagram", int(shape.diagramType()));
        json.member("id", shape.id());
        json.member("name", shape.name());
        writePosition(json, shape);
        json.member("rotation", shape.rotationTransform()->angle());
        json.key(QLatin1String("scale"));
        json.beginObject();
        json.member("x", shape.scaleTransform()->xScale());
        json.member("y", shape.scaleTransform()->yScale());
        json.endObject();
        json.member("type", int(DiagramItem::Type));
        json.endObject();
    }

    void visit(const DiagramTextItem &text) override
    {
        json.beginObject();
        const int alignment = alignmentNumber(text.alignment());
        if (alignment >= 0)
            json.member("alignment", alignment);
        writeColor(json, "color", text.defaultTextColor());
        writeFont(json, text.font());
        json.member("id", text.id());
        json.member("linked", text.isLinked());
        if (text.isLinked())
            json.member("linkedId", text.linkedItem()->id());
        json.member("name", text.name());
        writePosition(json, text);
        json.member("rotation", text.rotation());
        json.member("text", text.toPlainText());
        json.member("type", int(DiagramTextItem::Type));
        json.endObject();
    }

    void visit(const DiagramImage &image) override
    {
        json.beginObject();
        json.member("id", image.id());
        json.member("math", image.isMath());
        json.member("name", image.name());
        json.member("path", image.path());
        writePosition(json, image);
        json.member("rotation", image.rotationTransform()->angle());
        // Pictures scale uniformly: one factor is the whole scale.
        json.member("scale", image.scaleTransform()->xScale());
        json.member("type", int(DiagramImage::Type));
        json.endObject();
    }

    void visit(const Arrow &arrow) override
    {
        json.beginObject();
        writeColor(json, "color", arrow.color());
        writeEnd(json, "endItem", *arrow.endItem());
        json.member("id", arrow.id());
        json.member("isPointed", arrow.isPointed());
        json.member("name", arrow.name());
        // The point is held in the end item's coordinates, stored in the scene's.
        if (arrow.isPointed()) {
            const QPointF scenePoint = arrow.endItem()->mapToScene(arrow.pointToBe());
            json.key(QLatin1String("pointToBe"));
            json.beginObject();
            json.member("x", scenePoint.x());
            json.member("y", scenePoint.y());
            json.endObject();
        }
        writeEnd(json, "startItem", *arrow.startItem());
        json.member("type", int(Arrow::Type));
        json.member("width", arrow.arrowSize());
        json.endObject();
    }

private:
    JsonTextWriter &json;
};

} // namespace

void writeItem(JsonTextWriter &json, const DiagramObject &object)
{
    Writer writer(json);
    object.accept(writer);
}
