#include "math/MTfracNode.h"

#include "math/MTlayout.h"
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

// The two children measured in their environments, and the node's measures.
struct MTfracNode::Parts
{
    MTstyle env1, env2;
    double w1 = 0, b1 = 0, h1 = 0;
    double w2 = 0, b2 = 0, h2 = 0;
    double xh = 0, xw = 0, heightM = 0, heightX = 0;
    double maxW() const { return std::max(w1, w2); }
    double maxH() const { return std::max(h1, h2); }
};

namespace {

// Under/over braces: a half-"M" band for the brace, a little clear of the
// braced part, and a third of an "x" (clear of the stroke) between its tip
// and the text.
double braceGap(const MTfracNode::Parts& p) { return p.heightM / 2 * 0.1; }
double braceInk(const MTfracNode::Parts& p) { return p.heightM / 2 * 0.9; }
double braceBand(const MTfracNode::Parts& p) { return p.heightM / 2 + p.xh / 3; }

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

void MTfracNode::measureParts(QPainter& painter, const MTstyle& env, Parts& p)
{
    double factor1 = 1, factor2 = 1;
    switch (mode) {
    case FractionFrac: factor1 = factor2 = parent->getFracFactor(); break;
    case FractionTfrac: factor1 = factor2 = parent->getFracFactor() * 0.7; break;
    case FractionUnderbrace:
    case FractionOverbrace: factor2 = parent->getUnderbraceFactor(); break;
    case FractionUnderset:
    case FractionOverset: factor2 = parent->getUndersetFactor(); break;
    case FractionDfrac:
    case FractionStackrel: break;
    }
    p.env1 = MTlayout::scaled(env, factor1);
    p.env2 = MTlayout::scaled(env, factor2);
    double s = 0;
    if (child1)
        child1->getSize(painter, p.env1, p.w1, p.b1, p.h1, s);
    if (child2)
        child2->getSize(painter, p.env2, p.w2, p.b2, p.h2, s);
    const QFont font = env.getFont(parent);
    p.xh = parent->xHeight(font, painter.device());
    p.xw = parent->textBounds(font, QStringLiteral("x"), painter.device()).width();
    p.heightM = parent->tightBounds(font, QStringLiteral("M"), painter.device()).height();
    p.heightX = parent->tightBounds(font, QStringLiteral("x"), painter.device()).height();
}

void MTfracNode::computeSize(QPainter& painter, MTstyle env, double& width, double& baselineHeight,
                             double& overallHeight, double& strikeoutPos)
{
    Parts p;
    measureParts(painter, env, p);
    const double shift = parent->getFracShiftFactor();
    switch (mode) {
    case FractionFrac:
    case FractionDfrac:
    case FractionTfrac:
    case FractionStackrel:
        // Exactly what draw() covers: the numerator above the bar, the
        // denominator below it, each with its own height. (A box of twice
        // the taller part would leave a blank band over a deep denominator.)
        baselineHeight = (0.5 + shift) * p.heightX + p.h1;
        overallHeight = baselineHeight + (shift - 0.5) * p.heightX + p.h2;
        break;
    case FractionUnderbrace:
        overallHeight = p.h1 + p.h2 + braceBand(p);
        baselineHeight = p.b1;
        break;
    case FractionOverbrace:
        overallHeight = p.h1 + p.h2 + braceBand(p);
        baselineHeight = p.b1 + p.h2 + braceBand(p);
        break;
    case FractionUnderset:
        overallHeight = p.h1 + p.h2 + p.xh / 6;
        baselineHeight = p.b1;
        break;
    case FractionOverset:
        overallHeight = p.h1 + p.h2 + p.xh / 6;
        baselineHeight = p.b1 + p.h2 + p.xh / 6;
        break;
    }
    width = p.maxW() + p.xw;
    strikeoutPos = p.xh;
}

double MTfracNode::draw(QPainter& painter, double x, double y, MTstyle env)
{
    drawDebugBoxes(painter, x, y, env);
    Parts p;
    measureParts(painter, env, p);
    const double W = p.maxW();
    // Both parts are centred over the same width, half an "x" in from each side.
    const double x1 = MTlayout::centred(x + 0.5 * p.xw, W, p.w1);
    const double x2 = MTlayout::centred(x + 0.5 * p.xw, W, p.w2);
    const double shift = parent->getFracShiftFactor();
    double y1 = y, y2 = y;

    painter.save();
    painter.setPen(MTlayout::pen(env.color, MTlayout::ruleWidth(env.fontSize)));
    painter.setBrush(Qt::NoBrush);
    switch (mode) {
    case FractionFrac:
    case FractionDfrac:
    case FractionTfrac:
    case FractionStackrel: {
        // The bar sits on the math axis, half an "x" above the baseline.
        const double barY = y - p.heightX * 0.5;
        // A quarter "x" beyond the wider part on both sides.
        const double left = x + 0.25 * p.xw;
        const double right = x + W + 0.75 * p.xw;
        if (mode != FractionStackrel && right > left)
            painter.drawLine(QLineF(left, barY, right, barY));
        y1 = barY - shift * p.heightX - (p.h1 - p.b1);
        y2 = barY + shift * p.heightX + p.b2;
        break;
    }
    case FractionUnderbrace: {
        const double braceTop = y + (p.h1 - p.b1);
        painter.translate(x + 0.5 * p.xw, braceTop + braceGap(p));
        painter.drawPath(MTlayout::curlyBrace(W, braceInk(p)));
        y2 = braceTop + braceBand(p) + p.b2;
        break;
    }
    case FractionOverbrace: {
        const double braceBottom = y - p.b1;
        // The brace opens downwards onto child1: turned upside down.
        painter.translate(x + 0.5 * p.xw, braceBottom - braceGap(p));
        painter.scale(1, -1);
        painter.drawPath(MTlayout::curlyBrace(W, braceInk(p)));
        y2 = braceBottom - braceBand(p) - (p.h2 - p.b2);
        break;
    }
    case FractionUnderset:
        y2 = y + (p.h1 - p.b1) + p.xh / 6 + p.b2;
        break;
    case FractionOverset:
        y2 = y - p.b1 - p.xh / 6 - (p.h2 - p.b2);
        break;
    }
    painter.restore();

    if (child1)
        child1->draw(painter, x1, y1, p.env1);
    if (child2)
        child2->draw(painter, x2, y2, p.env2);
    return x + W + p.xw;
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
