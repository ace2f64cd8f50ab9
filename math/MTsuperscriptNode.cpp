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
    if (child) {
        double childStrikeout = 0;
        child->getSize(painter, MTlayout::scaled(env, parent->getSubsuperSizeFactor()), width, baselineHeight,
                       overallHeight, childStrikeout);
    }
    const QFont font = env.getFont(parent);
    strikeoutPos = parent->strikeOutPos(font, painter.device());
    // An italic base leans to the right: move on a little before what follows.
    if (env.italic)
        width += parent->getItalicCorrectionFactor() * parent->textAdvance(font, QStringLiteral(" "), painter.device());
}

double MTsuperscriptNode::draw(QPainter& painter, double x, double y, MTstyle env)
{
    drawDebugBoxes(painter, x, y, env);
    double width = 0, b = 0, h = 0, s = 0;
    getSize(painter, env, width, b, h, s);
    if (child)
        child->draw(painter, x, y, MTlayout::scaled(env, parent->getSubsuperSizeFactor()));
    return x + width;
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
