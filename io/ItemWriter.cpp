#include "io/ItemWriter.h"

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

QJsonObject fontObject(const QFont &font)
{
    return {
        {QStringLiteral("bold"), font.bold()},
        {QStringLiteral("italic"), font.italic()},
        {QStringLiteral("underline"), font.underline()},
        {QStringLiteral("strikeout"), font.strikeOut()},
        {QStringLiteral("family"), font.family()},
        {QStringLiteral("size"), font.pointSize()},
    };
}

// An arrow end: {"type", "id"}; only shapes and pictures end arrows.
QJsonObject endObject(const QGraphicsItem &item)
{
    QJsonObject object{{QStringLiteral("type"), item.type()}};
    if (const DiagramObject *end = DiagramObject::from(&item))
        object.insert(QStringLiteral("id"), end->id());
    return object;
}

class Writer : public DiagramObjectVisitor
{
public:
    QJsonObject object;

    void visit(const DiagramItem &shape) override
    {
        const QPen pen = shape.pen();
        object = {
            {QStringLiteral("type"), DiagramItem::Type},
            {QStringLiteral("diagram"), int(shape.diagramType())},
            {QStringLiteral("position"), positionObject(shape)},
            {QStringLiteral("rotation"), shape.rotationTransform()->angle()},
            {QStringLiteral("scale"), QJsonObject{{QStringLiteral("x"), shape.scaleTransform()->xScale()},
                                                  {QStringLiteral("y"), shape.scaleTransform()->yScale()}}},
            {QStringLiteral("border"), QJsonObject{{QStringLiteral("width"), pen.width()},
                                                   {QStringLiteral("color"), colorObject(pen.color())}}},
            {QStringLiteral("color"), colorObject(shape.brush().color())},
            {QStringLiteral("name"), shape.name()},
            {QStringLiteral("id"), shape.id()},
        };
    }

    void visit(const DiagramTextItem &text) override
    {
        object = {
            {QStringLiteral("type"), DiagramTextItem::Type},
            {QStringLiteral("position"), positionObject(text)},
            {QStringLiteral("text"), text.toPlainText()},
            {QStringLiteral("rotation"), text.rotation()},
            {QStringLiteral("font"), fontObject(text.font())},
            {QStringLiteral("color"), colorObject(text.defaultTextColor())},
            {QStringLiteral("name"), text.name()},
            {QStringLiteral("id"), text.id()},
            {QStringLiteral("linked"), text.isLinked()},
        };
        if (text.isLinked())
            object.insert(QStringLiteral("linkedId"), text.linkedItem()->id());
        const int alignment = alignmentNumber(text.alignment());
        if (alignment >= 0)
            object.insert(QStringLiteral("alignment"), alignment);
    }

    void visit(const DiagramImage &image) override
    {
        object = {
            {QStringLiteral("type"), DiagramImage::Type},
            {QStringLiteral("position"), positionObject(image)},
            {QStringLiteral("path"), image.path()},
            {QStringLiteral("math"), image.isMath()},
            // Pictures scale uniformly: one factor is the whole scale.
            {QStringLiteral("scale"), image.scaleTransform()->xScale()},
            {QStringLiteral("rotation"), image.rotationTransform()->angle()},
            {QStringLiteral("name"), image.name()},
            {QStringLiteral("id"), image.id()},
        };
    }

    void visit(const Arrow &arrow) override
    {
        object = {
            {QStringLiteral("type"), Arrow::Type},
            {QStringLiteral("startItem"), endObject(*arrow.startItem())},
            {QStringLiteral("endItem"), endObject(*arrow.endItem())},
            {QStringLiteral("isPointed"), arrow.isPointed()},
            {QStringLiteral("color"), colorObject(arrow.color())},
            {QStringLiteral("width"), arrow.arrowSize()},
            {QStringLiteral("name"), arrow.name()},
            {QStringLiteral("id"), arrow.id()},
        };
        // The point is held in the end item's coordinates, stored in the scene's.
        if (arrow.isPointed()) {
            const QPointF scenePoint = arrow.endItem()->mapToScene(arrow.pointToBe());
            object.insert(QStringLiteral("pointToBe"),
                          QJsonObject{{QStringLiteral("x"), scenePoint.x()},
                                      {QStringLiteral("y"), scenePoint.y()}});
        }
    }
};

} // namespace

QJsonObject writeItem(const DiagramObject &object)
{
    Writer writer;
    object.accept(writer);
    return writer.object;
}
