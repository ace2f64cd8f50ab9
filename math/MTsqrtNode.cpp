#include "math/MTsqrtNode.h"

#include "math/MTlayout.h"
#include "math/MTtexParameters.h"
#include "math/VelQTmathText.h"

#include <QPainter>
#include <QPainterPath>

MTsqrtNode::MTsqrtNode(VelQTmathText* parent, MTnode* child, int degree)
    : MTnode(parent)
    , child(child)
    , degree(degree)
{
}

MTsqrtNode::~MTsqrtNode()
{
    delete child;
}

// The radical's measures in one style: TeX's rule 11 for the clearance,
// the sign drawn to the radicand's height.
struct MTsqrtNode::Parts
{
    MTstyle inner;             // the radicand's environment
    double w = 0, b = 0, h = 0; // the radicand
    double rule = 0;           // the vinculum's stroke
    double top = 0;            // the vinculum's middle above the baseline
    double bottom = 0;         // the sign's lowest point below the baseline
    double sign = 0;           // the sign's width
    double degreeX = 0, degreeY = 0, degreeAscent = 0; // a degree's place and height
    double degreeLeft = 0;     // where its ink starts
    double offset = 0;         // where the sign starts (after a wide degree)
    QFont degreeFont;
};

namespace {

// The sign in ems: the width it starts with and how much it widens per em
// of height, the short stroke that starts it, the depth below the radicand.
constexpr double signWidthEm = 0.5, signWideningPerEm = 0.1;
constexpr double tickEm = 0.45, signDepthEm = 0.05;
// Where the sign's first stroke starts, in its width.
constexpr double tickStart = 0.06;

} // namespace

void MTsqrtNode::measureParts(QPainter& painter, const MTstyle& env, Parts& p)
{
    p.inner = env.crampedStyle();
    double s = 0;
    if (child)
        child->getSize(painter, p.inner, p.w, p.b, p.h, s);
    const double em = MTlayout::em(parent, painter, env);
    const double theta = MTtex::defaultRuleThickness * em;
    const double xHeight = parent->xHeight(env.getFont(parent), painter.device());
    // Clearance above the radicand: a quarter x-height more in display style.
    const double clearance = theta + (env.mathStyle == MathDisplay ? xHeight : theta) / 4;
    p.rule = MTlayout::ruleWidth(env.fontSize);
    p.top = p.b + clearance + p.rule / 2;
    p.bottom = (p.h - p.b) + signDepthEm * em;
    p.sign = (signWidthEm + signWideningPerEm * (p.top + p.bottom) / em) * em;
    if (degree != 2) {
        // LaTeX's \sqrt[n]: the degree in scriptscript style, 5 mu in and
        // raised to 60 % of the sign's height, the sign 10 mu back.
        const MTstyle small = env.inMathStyle(MathScriptScript, false, parent);
        MTstyle upright = small;
        upright.italic = false;
        p.degreeFont = upright.getFont(parent);
        const QString text = QString::number(degree);
        const QRectF ink = parent->tightBounds(p.degreeFont, text, painter.device());
        const double mu = em / MTatom::muPerEm;
        p.degreeX = 5 * mu;
        p.degreeY = 0.6 * (p.top + p.bottom) - p.bottom - ink.bottom();
        p.degreeAscent = p.degreeY - ink.top();
        p.degreeLeft = ink.left();
        p.offset = std::max(0.0, p.degreeX + parent->textAdvance(p.degreeFont, text, painter.device()) - 10 * mu);
    }
}

void MTsqrtNode::computeSize(QPainter& painter, MTstyle env, double& width, double& baselineHeight,
                             double& overallHeight, double& strikeoutPos)
{
    Parts p;
    measureParts(painter, env, p);
    width = p.offset + p.sign + p.w;
    baselineHeight = std::max(p.top + p.rule / 2, p.degreeAscent);
    overallHeight = baselineHeight + p.bottom;
    strikeoutPos = parent->strikeOutPos(env.getFont(parent), painter.device());
}

void MTsqrtNode::inkExtent(QPainter& painter, const MTstyle& env, double& left, double& right)
{
    Parts p;
    measureParts(painter, env, p);
    // From the sign's first stroke (or the degree) to the vinculum's end.
    MTlayout::InkSpan ink;
    ink.add(p.offset + tickStart * p.sign - p.rule / 2, p.offset + p.sign + p.w);
    if (degree != 2)
        ink.add(p.degreeX + p.degreeLeft, p.degreeX + p.degreeLeft);
    left = ink.left;
    right = ink.right;
}

double MTsqrtNode::draw(QPainter& painter, double x, double y, MTstyle env)
{
    drawDebugBoxes(painter, x, y, env);
    Parts p;
    measureParts(painter, env, p);
    const double em = MTlayout::em(parent, painter, env);
    const double left = x + p.offset;
    const double top = y - p.top, bottom = y + p.bottom;
    // A short rising stroke, down to the bottom, up to the vinculum, which
    // ends square over the radicand's end.
    const double tickY = bottom - std::min(tickEm * em, (bottom - top) / 2);
    const double xe = child ? child->draw(painter, left + p.sign, y, p.inner) : left + p.sign;
    QPainterPath sign;
    sign.moveTo(left + tickStart * p.sign, tickY + 0.1 * em);
    sign.lineTo(left + 0.22 * p.sign, tickY);
    sign.lineTo(left + 0.5 * p.sign, bottom - p.rule / 2);
    sign.lineTo(left + p.sign, top);
    sign.lineTo(xe, top);
    painter.save();
    QPen pen = MTlayout::pen(env.color, p.rule);
    pen.setJoinStyle(Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(sign);
    if (degree != 2) {
        parent->drawText(painter, QPointF(x + p.degreeX, y - p.degreeY), p.degreeFont, QString::number(degree));
    }
    painter.restore();
    return xe;
}

bool MTsqrtNode::toHtml(QString& html, MTstyle currentEv, MTstyle defaultEv)
{
    html += QLatin1String("&radic;<span style=\"text-decoration:overline\">");
    const bool ok = !child || child->toHtml(html, currentEv, defaultEv);
    html += QLatin1String("&nbsp;</span>");
    return ok;
}

void MTsqrtNode::setDebugBoxes(bool debug)
{
    MTnode::setDebugBoxes(debug);
    if (child)
        child->setDebugBoxes(debug);
}

QString MTsqrtNode::typeName() const
{
    return QStringLiteral("MTsqrtNode");
}
