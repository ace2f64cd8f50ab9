#include "scene/DiagramTextItem.h"

#include "io/SceneJson.h"
#include "scene/DiagramItem.h"

#include <QFont>

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

} // namespace

QJsonObject DiagramTextItem::toJson() const
{
    QJsonObject object{
        {QStringLiteral("type"), Type},
        {QStringLiteral("position"), SceneJson::positionObject(*this)},
        {QStringLiteral("text"), toPlainText()},
        {QStringLiteral("rotation"), rotation()},
        {QStringLiteral("font"), fontObject(font())},
        {QStringLiteral("color"), SceneJson::colorObject(defaultTextColor())},
        {QStringLiteral("name"), m_name},
        {QStringLiteral("id"), m_id},
        {QStringLiteral("linked"), isLinked()},
    };
    if (isLinked())
        object.insert(QStringLiteral("linkedId"), linkedItem()->id());
    const int alignmentNumber = SceneJson::alignmentNumber(m_alignment);
    if (alignmentNumber >= 0)
        object.insert(QStringLiteral("alignment"), alignmentNumber);
    return object;
}
