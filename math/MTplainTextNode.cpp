#include "math/MTplainTextNode.h"

MTplainTextNode::MTplainTextNode(VelQTmathText* parent, QString text, bool addWhitespace,
                                 bool stripInnerWhitespace)
    : MTtextNode(parent, text, addWhitespace, stripInnerWhitespace)
{
}

QString MTplainTextNode::typeName() const
{
    return QLatin1String("MTplainTextNode(") + text + QLatin1Char(')');
}

QString MTplainTextNode::transformText(QString text, MTstyle) const
{
    return text;
}
