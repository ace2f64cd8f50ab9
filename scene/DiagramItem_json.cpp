#include "scene/DiagramItem.h"

#include "io/SceneJson.h"

#include <QGraphicsRotation>
#include <QGraphicsScale>
#include <QPen>

QJsonObject DiagramItem::toJson() const
{
    return {
        {QStringLiteral("type"), Type},
        {QStringLiteral("diagram"), int(m_diagramType)},
        {QStringLiteral("position"), SceneJson::positionObject(*this)},
        {QStringLiteral("rotation"), itemRotation->angle()},
        {QStringLiteral("scale"), QJsonObject{{QStringLiteral("x"), itemScale->xScale()},
                                              {QStringLiteral("y"), itemScale->yScale()}}},
        {QStringLiteral("border"), QJsonObject{{QStringLiteral("width"), pen().width()},
                                               {QStringLiteral("color"),
                                                SceneJson::colorObject(pen().color())}}},
        {QStringLiteral("color"), SceneJson::colorObject(brush().color())},
        {QStringLiteral("name"), m_name},
        {QStringLiteral("id"), m_id},
    };
}
