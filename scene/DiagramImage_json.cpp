#include "scene/DiagramImage.h"

#include "io/SceneJson.h"

#include <QGraphicsRotation>
#include <QGraphicsScale>

QJsonObject DiagramImage::toJson() const
{
    return {
        {QStringLiteral("type"), Type},
        {QStringLiteral("position"), SceneJson::positionObject(*this)},
        {QStringLiteral("path"), m_path},
        {QStringLiteral("math"), m_isMath},
        // Pictures scale uniformly: one factor is the whole scale.
        {QStringLiteral("scale"), m_itemScale->xScale()},
        {QStringLiteral("rotation"), m_itemRotation->angle()},
        {QStringLiteral("name"), m_name},
        {QStringLiteral("id"), m_id},
    };
}
