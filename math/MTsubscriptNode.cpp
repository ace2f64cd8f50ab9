#include "math/MTsubscriptNode.h"

#include "math/MTlayout.h"
#include "math/VelQTmathText.h"

#include <QPainter>

namespace {

double heightOfM(QPainter& painter, VelQTmathText* parent, const MTstyle& env)
{
    return parent->tightBounds(env.getFont(parent), QStringLiteral("M"), painter.device()).height();
}

} // namespace

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
    const MTstyle reduced = MTlayout::scaled(env, parent->getSubsuperSizeFactor());
    double w = 0, b = 0, h = 0, s = 0;
    if (child)
        child->getSize(painter, reduced, w, b, h, s);
    const QFont font = env.getFont(parent);
    const double ownM = heightOfM(painter, parent, env);
    // The box reaches from the top of an "M" of the base down to the
    // lowered child's depth.
    width = w;
    baselineHeight = ownM;
    overallHeight = parent->getSubShiftFactor() * heightOfM(painter, parent, reduced) + ownM + (h - b);
    // No italic correction here: pulling what follows back over a lower
    // index makes it overlap the index ("\partial_t u"), and a last index
    // would stick out of the formula's box.
    strikeoutPos = parent->strikeOutPos(font, painter.device());
}

double MTsubscriptNode::draw(QPainter& painter, double x, double y, MTstyle env)
{
    drawDebugBoxes(painter, x, y, env);
    const MTstyle reduced = MTlayout::scaled(env, parent->getSubsuperSizeFactor());
    double width = 0, b = 0, h = 0, s = 0;
    getSize(painter, env, width, b, h, s);
    if (child)
        child->draw(painter, x, y + parent->getSubShiftFactor() * heightOfM(painter, parent, reduced), reduced);
    return x + width;
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
