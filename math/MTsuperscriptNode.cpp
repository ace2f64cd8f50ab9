#include "math/MTsuperscriptNode.h"

#include "math/MTlayout.h"
#include "math/VelQTmathText.h"

#include <QPainter>

MTsuperscriptNode::MTsuperscriptNode(VelQTmathText* parent, MTnode* child)
    : MTnode(parent)
    , child(child)
{
}

MTsuperscriptNode::~MTsuperscriptNode()
{
    delete child;
}

void MTsuperscriptNode::computeSize(QPainter& painter, MTstyle env, double& width, double& baselineHeight,
                                    double& overallHeight, double& strikeoutPos)
{
    width = baselineHeight = overallHeight = 0;
    double childStrikeout = 0;
    if (child)
        child->getSize(painter, env.superscriptStyle(parent), width, baselineHeight, overallHeight, childStrikeout);
    strikeoutPos = parent->strikeOutPos(env.getFont(parent), painter.device());
}

double MTsuperscriptNode::draw(QPainter& painter, double x, double y, MTstyle env)
{
    drawDebugBoxes(painter, x, y, env);
    const MTstyle style = env.superscriptStyle(parent);
    return child ? child->draw(painter, x, y, style) : x;
}

void MTsuperscriptNode::inkExtent(QPainter& painter, const MTstyle& env, double& left, double& right)
{
    left = 1;
    right = 0;
    if (child)
        child->inkExtent(painter, env.superscriptStyle(parent), left, right);
}

MTatomClass MTsuperscriptNode::firstAtom() const
{
    return AtomNone; // part of the atom before it
}

bool MTsuperscriptNode::isIndexNode() const
{
    return true;
}

bool MTsuperscriptNode::toHtml(QString& html, MTstyle currentEv, MTstyle defaultEv)
{
    html += QLatin1String("<sup>");
    const bool ok = !child || child->toHtml(html, currentEv, defaultEv);
    html += QLatin1String("</sup>");
    return ok;
}

void MTsuperscriptNode::setDebugBoxes(bool debug)
{
    MTnode::setDebugBoxes(debug);
    if (child)
        child->setDebugBoxes(debug);
}

QString MTsuperscriptNode::typeName() const
{
    return QStringLiteral("MTsuperscriptNode");
}
