#include "math/MTwhitespaceNode.h"

MTwhitespaceNode::MTwhitespaceNode(VelQTmathText* parent)
    : MTtextNode(parent, QStringLiteral(" "), false, false)
{
}

bool MTwhitespaceNode::toHtml(QString& html, MTstyle, MTstyle)
{
    html += QLatin1String("&nbsp;");
    return true;
}

QString MTwhitespaceNode::typeName() const
{
    return QLatin1String("MTwhitespaceNode(") + text + QLatin1Char(')');
}
