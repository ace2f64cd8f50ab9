#include "math/MTdecoratedNode.h"

#include "math/MTlayout.h"
#include "math/MTtexParameters.h"
#include "math/VelQTmathText.h"

#include <QPainter>
#include <QPainterPath>

QString accentName(MTaccent accent)
{
    switch (accent) {
    case AccentVec: return QStringLiteral("vec");
    case AccentHat: return QStringLiteral("hat");
    case AccentDot: return QStringLiteral("dot");
    case AccentDdot: return QStringLiteral("ddot");
    case AccentBar: return QStringLiteral("bar");
    case AccentArrow: return QStringLiteral("arrow");
    case AccentOverline: return QStringLiteral("overline");
    case AccentDoubleOverline: return QStringLiteral("double overline");
    case AccentUnderline: return QStringLiteral("underline");
    case AccentDoubleUnderline: return QStringLiteral("double underline");
    case AccentTilde: return QStringLiteral("tilde");
    }
    return QStringLiteral("unknown");
}

MTdecoratedNode::MTdecoratedNode(VelQTmathText* parent, MTaccent decoration, MTnode* child)
    : MTnode(parent)
    , child(child)
    , decoration(decoration)
{
}

MTdecoratedNode::~MTdecoratedNode()
{
    delete child;
}

namespace {

// Sizes of the drawn accents, in ems: the clearance over the accented
// part's ink, the height of a vector's head, a hat's and a tilde's rise, a
// dot's radius; lines keep TeX's clearance of three rule thicknesses.
constexpr double accentGapEm = 0.1;
constexpr double headEm = 0.2, hatEm = 0.13, tildeEm = 0.07, dotEm = 0.05;
// Accents of a leaning letter sit over its slanted top, a little to the right.
constexpr double skewEm = 0.06;

bool isUnder(MTaccent accent)
{
    return accent == AccentUnderline || accent == AccentDoubleUnderline;
}

bool isLine(MTaccent accent)
{
    return accent == AccentOverline || accent == AccentDoubleOverline || accent == AccentBar || isUnder(accent);
}

} // namespace

// The accent's measures in one style.
struct MTdecoratedNode::Parts
{
    MTstyle inner;              // the accented part's environment
    double w = 0, b = 0, h = 0; // the accented part
    double em = 0, stroke = 0;
    double line = 0;            // the accent's reference line, from the baseline (up) or the depth (down)
    double reach = 0;           // how far its ink reaches beyond that line, outwards
};

void MTdecoratedNode::measureParts(QPainter& painter, const MTstyle& env, Parts& p)
{
    // TeX sets accented and overlined parts cramped.
    p.inner = isUnder(decoration) ? env : env.crampedStyle();
    double s = 0;
    if (child)
        child->getSize(painter, p.inner, p.w, p.b, p.h, s);
    p.em = MTlayout::em(parent, painter, env);
    p.stroke = std::max(0.02, parent->lineWidth(env.getFont(parent), painter.device()));
    const double theta = MTtex::defaultRuleThickness * p.em;
    const double gap = isLine(decoration) ? 3 * theta + p.stroke / 2 : accentGapEm * p.em;
    const double lineGap = std::max(2 * p.stroke, 3 * theta);
    switch (decoration) {
    case AccentVec:
    case AccentArrow:
        p.line = gap + headEm * p.em / 2;
        p.reach = headEm * p.em / 2;
        break;
    case AccentHat:
        p.line = gap;
        p.reach = hatEm * p.em;
        break;
    case AccentDot:
    case AccentDdot:
        p.line = gap + dotEm * p.em;
        p.reach = dotEm * p.em;
        break;
    case AccentTilde:
        p.line = gap + tildeEm * p.em;
        p.reach = tildeEm * p.em;
        break;
    case AccentOverline:
    case AccentBar:
    case AccentUnderline:
        p.line = gap;
        p.reach = p.stroke / 2;
        break;
    case AccentDoubleOverline:
    case AccentDoubleUnderline:
        p.line = gap;
        p.reach = lineGap + p.stroke / 2;
        break;
    }
}

void MTdecoratedNode::computeSize(QPainter& painter, MTstyle env, double& width, double& baselineHeight,
                                  double& overallHeight, double& strikeoutPos)
{
    Parts p;
    measureParts(painter, env, p);
    width = p.w;
    baselineHeight = isUnder(decoration) ? p.b : p.b + p.line + p.reach;
    overallHeight = isUnder(decoration) ? p.h + p.line + p.reach : baselineHeight + (p.h - p.b);
    strikeoutPos = parent->strikeOutPos(env.getFont(parent), painter.device());
}

void MTdecoratedNode::inkExtent(QPainter& painter, const MTstyle& env, double& left, double& right)
{
    Parts p;
    measureParts(painter, env, p);
    MTlayout::InkSpan ink;
    ink.add(painter, child, p.inner, 0);
    // Lines and arrows span the part (shifted over a leaning one); the
    // other accents keep over its middle.
    const bool spans = isLine(decoration) || decoration == AccentVec || decoration == AccentArrow;
    const double shift = env.italic && !isLine(decoration) ? skewEm * p.em : 0;
    if (spans)
        ink.add(shift - p.stroke / 2, p.w + shift + p.stroke / 2);
    left = ink.left;
    right = ink.right;
}

double MTdecoratedNode::draw(QPainter& painter, double x, double y, MTstyle env)
{
    drawDebugBoxes(painter, x, y, env);
    Parts p;
    measureParts(painter, env, p);
    const double xe = child ? child->draw(painter, x, y, p.inner) : x;
    const double em = p.em;
    const double dy = y - p.b - p.line; // the line of an accent over the part
    const double underY = y + (p.h - p.b) + p.line;
    const double shift = env.italic && !isLine(decoration) ? skewEm * em : 0;
    const double left = x + shift, right = xe + shift, mid = (x + xe) / 2 + shift;
    const double lineGap = std::max(2 * p.stroke, 3 * MTtex::defaultRuleThickness * em);
    const double head = headEm * em;

    painter.save();
    painter.setPen(MTlayout::pen(env.color, p.stroke));
    painter.setBrush(Qt::NoBrush);
    QPainterPath path;
    switch (decoration) {
    case AccentVec:
    case AccentArrow:
        // A barb on both sides: with one only, the head of a short arrow
        // is too small to tell from a bar.
        path.moveTo(left, dy);
        path.lineTo(right, dy);
        path.moveTo(right - std::min(head, right - left), dy - head / 2);
        path.lineTo(right, dy);
        path.lineTo(right - std::min(head, right - left), dy + head / 2);
        break;
    case AccentOverline:
    case AccentBar:
        path.moveTo(left, dy);
        path.lineTo(right, dy);
        break;
    case AccentDoubleOverline:
        path.moveTo(left, dy);
        path.lineTo(right, dy);
        path.moveTo(left, dy - lineGap);
        path.lineTo(right, dy - lineGap);
        break;
    case AccentUnderline:
        path.moveTo(x, underY);
        path.lineTo(xe, underY);
        break;
    case AccentDoubleUnderline:
        path.moveTo(x, underY);
        path.lineTo(xe, underY);
        path.moveTo(x, underY + lineGap);
        path.lineTo(xe, underY + lineGap);
        break;
    case AccentHat:
        path.moveTo(mid - 0.6 * hatEm * em * 2, dy);
        path.lineTo(mid, dy - hatEm * em);
        path.lineTo(mid + 0.6 * hatEm * em * 2, dy);
        break;
    case AccentDot:
    case AccentDdot: {
        painter.setBrush(env.color);
        painter.setPen(Qt::NoPen);
        const double r = dotEm * em;
        if (decoration == AccentDot) {
            painter.drawEllipse(QPointF(mid, dy), r, r);
        } else {
            painter.drawEllipse(QPointF(mid - 2.5 * r, dy), r, r);
            painter.drawEllipse(QPointF(mid + 2.5 * r, dy), r, r);
        }
        break;
    }
    case AccentTilde: {
        // One wave over the middle of the part: up, then down.
        const double half = std::min(0.25 * em, (xe - x) / 2);
        const double wave = tildeEm * em;
        path.moveTo(mid - half, dy + wave / 2);
        path.cubicTo(mid - half / 3, dy - 2 * wave, mid + half / 3, dy + 2 * wave, mid + half, dy - wave / 2);
        break;
    }
    }
    if (!path.isEmpty())
        painter.drawPath(path);
    painter.restore();
    return xe;
}

void MTdecoratedNode::setDebugBoxes(bool debug)
{
    MTnode::setDebugBoxes(debug);
    if (child)
        child->setDebugBoxes(debug);
}

QString MTdecoratedNode::typeName() const
{
    return QStringLiteral("MTdecoratedNode");
}
