#include "scene/Arrow.h"

#include "io/SceneJson.h"

QJsonObject Arrow::toJson() const
{
    QJsonObject object{
        {QStringLiteral("type"), Type},
        {QStringLiteral("startItem"), SceneJson::endObject(*m_startItem)},
        {QStringLiteral("endItem"), SceneJson::endObject(*m_endItem)},
        {QStringLiteral("isPointed"), isPointed()},
        {QStringLiteral("color"), SceneJson::colorObject(m_color)},
        {QStringLiteral("width"), m_arrowSize},
        {QStringLiteral("name"), m_name},
        {QStringLiteral("id"), m_id},
    };
    // The point is held in the end item's coordinates, stored in the scene's.
    if (isPointed()) {
        const QPointF scenePoint = m_endItem->mapToScene(m_pointToBe);
        object.insert(QStringLiteral("pointToBe"),
                      QJsonObject{{QStringLiteral("x"), scenePoint.x()},
                                  {QStringLiteral("y"), scenePoint.y()}});
    }
    return object;
}
