#include "math/MTsubscriptNode.h"

#include "math/MTlayout.h"
#include "math/VelQTmathText.h"

#include <QPainter>

MTsubscriptNode::MTsubscriptNode(VelQTmathText* parent, MTnode* child)
    : MTnode(parent)
    , child(child)
{
}

MTsubscriptNode::~MTsubscriptNode()
{
    delete child;
}

void MTsubscriptNode::computeSize(QPainter& painter, MTstyle env, double& width, double& baselineHeight,
                                  double& overallHeight, double& strikeoutPos)
{
    width = baselineHeight = overallHeight = 0;
    double childStrikeout = 0;
    if (child)
        child->getSize(painter, env.subscriptStyle(parent), width, baselineHeight, overallHeight, childStrikeout);
    strikeoutPos = parent->strikeOutPos(env.getFont(parent), painter.device());
}

double MTsubscriptNode::draw(QPainter& painter, double x, double y, MTstyle env)
{
    drawDebugBoxes(painter, x, y, env);
    const MTstyle style = env.subscriptStyle(parent);
    return child ? child->draw(painter, x, y, style) : x;
}

void MTsubscriptNode::inkExtent(QPainter& painter, const MTstyle& env, double& left, double& right)
{
    left = 1;
    right = 0;
    if (child)
        child->inkExtent(painter, env.subscriptStyle(parent), left, right);
}

MTatomClass MTsubscriptNode::firstAtom() const
{
    return AtomNone; // part of the atom before it
}

bool MTsubscriptNode::isIndexNode() const
{
    return true;
}

bool MTsubscriptNode::toHtml(QString& html, MTstyle currentEv, MTstyle defaultEv)
{
    html += QLatin1String("<sub>");
    const bool ok = !child || child->toHtml(html, currentEv, defaultEv);
    html += QLatin1String("</sub>");
    return ok;
}

void MTsubscriptNode::setDebugBoxes(bool debug)
{
    MTnode::setDebugBoxes(debug);
    if (child)
        child->setDebugBoxes(debug);
}

QString MTsubscriptNode::typeName() const
{
    return QStringLiteral("MTsubscriptNode");
}
