#include "math/MTfracNode.h"

#include "math/MTlayout.h"
#include "math/MTtexParameters.h"
#include "math/VelQTmathText.h"

#include <QPainter>

QString fractionKindName(MTfractionKind kind)
{
    switch (kind) {
    case FractionFrac: return QStringLiteral("frac");
    case FractionDfrac: return QStringLiteral("dfrac");
    case FractionTfrac: return QStringLiteral("tfrac");
    case FractionUnderbrace: return QStringLiteral("underbrace");
    case FractionOverbrace: return QStringLiteral("overbrace");
    case FractionStackrel: return QStringLiteral("stackrel");
    case FractionUnderset: return QStringLiteral("underset");
    case FractionOverset: return QStringLiteral("overset");
    }
    return QStringLiteral("unknown");
}

// The two children measured in their environments, and where they go.
struct MTfracNode::Parts
{
    MTstyle env1, env2;
    double w1 = 0, b1 = 0, h1 = 0;
    double w2 = 0, b2 = 0, h2 = 0;
    double depth1() const { return h1 - b1; }
    double depth2() const { return h2 - b2; }
    double width = 0;        // of the wider part
    double side = 0;         // room left and right of the parts
    double raise1 = 0;       // child1's baseline above the node's
    double raise2 = 0;       // child2's baseline above the node's (negative: below)
    double ascent = 0, depth = 0;
    double barY = 0, barWidth = 0; // fractions: the bar's middle above the baseline, its stroke
    double braceY = 0, braceHeight = 0; // braces: the tip side of the brace above the baseline
};

namespace {

bool isFraction(MTfractionKind mode)
{
    return mode == FractionFrac || mode == FractionDfrac || mode == FractionTfrac || mode == FractionStackrel;
}

// The height of a horizontal brace, and its distance from what it spans,
// in ems: about LaTeX's \overbrace.
constexpr double braceHeightEm = 0.3;
constexpr double braceGapEm = 0.1;

} // namespace

MTfracNode::MTfracNode(VelQTmathText* parent, MTnode* child1, MTnode* child2, MTfractionKind mode)
    : MTnode(parent)
    , child1(child1)
    , child2(child2)
    , mode(mode)
{
}

MTfracNode::~MTfracNode()
{
    delete child1;
    delete child2;
}

MTatomClass MTfracNode::firstAtom() const
{
    switch (mode) {
    case FractionUnderbrace:
    case FractionOverbrace:
        return AtomOp; // LaTeX's braces are operators with limits
    case FractionStackrel:
        return AtomRel;
    default:
        return AtomOrd; // LaTeX's \frac is a group
    }
}

MTstyle MTfracNode::fractionStyle(const MTstyle& env) const
{
    if (mode == FractionDfrac)
        return env.inMathStyle(MathDisplay, env.cramped, parent);
    if (mode == FractionTfrac)
        return env.inMathStyle(MathText, env.cramped, parent);
    return env;
}

void MTfracNode::measureParts(QPainter& painter, const MTstyle& outer, Parts& p)
{
    const MTstyle env = fractionStyle(outer);
    if (isFraction(mode)) {
        p.env1 = env.numeratorStyle(parent);
        p.env2 = env.denominatorStyle(parent);
    } else {
        // The main part keeps the style; the other one is set like a limit.
        p.env1 = env;
        const bool below = mode == FractionUnderbrace || mode == FractionUnderset;
        p.env2 = below ? env.subscriptStyle(parent) : env.superscriptStyle(parent);
    }
    double s = 0;
    if (child1)
        child1->getSize(painter, p.env1, p.w1, p.b1, p.h1, s);
    if (child2)
        child2->getSize(painter, p.env2, p.w2, p.b2, p.h2, s);
    p.width = std::max(p.w1, p.w2);

    const double em = MTlayout::em(parent, painter, env);
    const double theta = MTtex::defaultRuleThickness * em;
    const bool display = env.mathStyle == MathDisplay;
    if (isFraction(mode)) {
        // TeX's rule 15: the parts' shifts, then the least clearances from
        // the bar (or from each other without one).
        const double axis = MTlayout::axisHeight(parent, painter, env);
        const bool bar = mode != FractionStackrel;
        double u = (display ? MTtex::num1 : bar ? MTtex::num2 : MTtex::num3) * em;
        double v = (display ? MTtex::denom1 : MTtex::denom2) * em;
        if (bar) {
            p.barWidth = MTlayout::ruleWidth(env.fontSize);
            const double clearance = (display ? 3 : 1) * theta;
            u += std::max(0.0, clearance - ((u - p.depth1()) - (axis + p.barWidth / 2)));
            v += std::max(0.0, clearance - ((axis - p.barWidth / 2) - (p.b2 - v)));
            p.barY = axis;
        } else {
            const double clearance = (display ? 7 : 3) * theta;
            const double gap = (u - p.depth1()) - (p.b2 - v);
            u += std::max(0.0, clearance - gap) / 2;
            v += std::max(0.0, clearance - gap) / 2;
        }
        p.raise1 = u;
        p.raise2 = -v;
        p.ascent = u + p.b1;
        p.depth = v + p.depth2();
        p.side = MTtex::nullDelimiterSpace * em;
        return;
    }

    // The other part as a limit of the main one (rule 13a), beyond the
    // brace if any.
    const bool brace = mode == FractionUnderbrace || mode == FractionOverbrace;
    const double band = brace ? (braceGapEm + braceHeightEm) * em : 0;
    p.braceHeight = braceHeightEm * em;
    if (mode == FractionOverbrace || mode == FractionOverset) {
        p.braceY = p.b1 + braceGapEm * em;
        p.raise2 = p.b1 + band + std::max(MTtex::bigOpSpacing1 * em, MTtex::bigOpSpacing3 * em - p.depth2())
            + p.depth2();
        p.ascent = p.raise2 + p.b2;
        p.depth = p.depth1();
    } else {
        p.braceY = -p.depth1() - braceGapEm * em;
        p.raise2 = -(p.depth1() + band + std::max(MTtex::bigOpSpacing2 * em, MTtex::bigOpSpacing4 * em - p.b2)
                     + p.b2);
        p.ascent = p.b1;
        p.depth = p.depth2() - p.raise2;
    }
}

void MTfracNode::computeSize(QPainter& painter, MTstyle env, double& width, double& baselineHeight,
                             double& overallHeight, double& strikeoutPos)
{
    Parts p;
    measureParts(painter, env, p);
    width = p.width + 2 * p.side;
    baselineHeight = p.ascent;
    overallHeight = p.ascent + p.depth;
    strikeoutPos = MTlayout::axisHeight(parent, painter, env);
}

void MTfracNode::inkExtent(QPainter& painter, const MTstyle& env, double& left, double& right)
{
    Parts p;
    measureParts(painter, env, p);
    MTlayout::InkSpan ink;
    if (p.barWidth > 0 || mode == FractionUnderbrace || mode == FractionOverbrace)
        ink.add(p.side, p.side + p.width);
    ink.add(painter, child1, p.env1, MTlayout::centred(p.side, p.width, p.w1));
    ink.add(painter, child2, p.env2, MTlayout::centred(p.side, p.width, p.w2));
    left = ink.left;
    right = ink.right;
}

double MTfracNode::draw(QPainter& painter, double x, double y, MTstyle env)
{
    drawDebugBoxes(painter, x, y, env);
    Parts p;
    measureParts(painter, env, p);
    const double left = x + p.side;
    if (p.barWidth > 0) {
        painter.save();
        painter.setPen(MTlayout::pen(env.color, p.barWidth));
        painter.drawLine(QLineF(left, y - p.barY, left + p.width, y - p.barY));
        painter.restore();
    } else if (mode == FractionUnderbrace || mode == FractionOverbrace) {
        painter.save();
        painter.setPen(MTlayout::pen(env.color, MTlayout::ruleWidth(env.fontSize)));
        painter.setBrush(Qt::NoBrush);
        painter.translate(left, y - p.braceY);
        // The path's tip points down: upside down over the main part.
        if (mode == FractionOverbrace)
            painter.scale(1, -1);
        painter.drawPath(MTlayout::curlyBrace(p.width, p.braceHeight));
        painter.restore();
    }
    if (child1)
        child1->draw(painter, MTlayout::centred(left, p.width, p.w1), y - p.raise1, p.env1);
    if (child2)
        child2->draw(painter, MTlayout::centred(left, p.width, p.w2), y - p.raise2, p.env2);
    return x + p.width + 2 * p.side;
}

void MTfracNode::setDebugBoxes(bool debug)
{
    MTnode::setDebugBoxes(debug);
    if (child1)
        child1->setDebugBoxes(debug);
    if (child2)
        child2->setDebugBoxes(debug);
}

QString MTfracNode::typeName() const
{
    return QStringLiteral("MTfracNode");
}
