#include "math/MTdecoratedNode.h"

#include "math/MTlayout.h"
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

void MTdecoratedNode::computeSize(QPainter& painter, MTstyle env, double& width, double& baselineHeight,
                                  double& overallHeight, double& strikeoutPos)
{
    double w = 0, b = 0, h = 0;
    strikeoutPos = 0;
    if (child)
        child->getSize(painter, env, w, b, h, strikeoutPos);
    const double a = parent->textBounds(env.getFont(parent), QStringLiteral("A"), painter.device()).width();
    // Room for the accent above (and a line below) of decorationHeightFactor each.
    const double f = 2 * parent->getDecorationHeightFactor() + 1;
    overallHeight = h * f;
    baselineHeight = b * f;
    width = w + 0.3 * a;
}

double MTdecoratedNode::draw(QPainter& painter, double x, double y, MTstyle env)
{
    drawDebugBoxes(painter, x, y, env);
    double w = 0, b = 0, h = 0, s = 0;
    if (child)
        child->getSize(painter, env, w, b, h, s);
    const QFont font = env.getFont(parent);
    const double a = parent->textBounds(font, QStringLiteral("A"), painter.device()).width();
    const double xe = child ? child->draw(painter, x, y, env) : x;

    const double factor = parent->getDecorationHeightFactor();
    const double dy = y - (factor + 1) * b;
    const double dh = b * factor;
    // Accents of italic letters sit over the slanted top, a little to the right.
    const double shift = env.italic ? 0.1 * a : 0;
    const double lw = std::max(0.02, parent->lineWidth(font, painter.device()));
    const double left = x + shift;
    const double right = xe + shift - 0.2 * a;
    const double mid = (x + xe) / 2 + shift;
    const double lineGap = std::max(2 * lw, 0.3 * dh);
    const double underY = y + (h - b) + lineGap;

    painter.save();
    painter.setPen(MTlayout::pen(env.color, lw));
    painter.setBrush(Qt::NoBrush);
    QPainterPath path;
    switch (decoration) {
    case AccentVec:
        // A barb on both sides: with one only, the head of a short arrow
        // is too small to tell from a bar.
        path.moveTo(xe + shift - 0.4 * a, dy - dh * 0.5);
        path.lineTo(right, dy);
        path.lineTo(xe + shift - 0.4 * a, dy + dh * 0.5);
        path.moveTo(left, dy);
        path.lineTo(right, dy);
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
        path.moveTo(mid - 0.35 * a, dy);
        path.lineTo(mid, dy - dh);
        path.lineTo(mid + 0.35 * a, dy);
        break;
    case AccentDot:
    case AccentDdot: {
        painter.setBrush(env.color);
        painter.setPen(Qt::NoPen);
        const double r = a / 10;
        if (decoration == AccentDot) {
            painter.drawEllipse(QPointF(mid, dy), r, r);
        } else {
            painter.drawEllipse(QPointF(mid - 0.2 * a, dy), r, r);
            painter.drawEllipse(QPointF(mid + 0.2 * a, dy), r, r);
        }
        break;
    }
    case AccentTilde: {
        // One wave: up over the first third, down over the second.
        const double wave = dh * 0.5;
        const double third = (right - left) / 3;
        path.moveTo(left, dy);
        path.cubicTo(left + third, dy - 2 * wave, right - third, dy + 2 * wave, right, dy - wave);
        break;
    }
    case AccentArrow: {
        const double head = std::min(0.3 * a, std::max(0.0, right - left));
        path.moveTo(left, dy);
        path.lineTo(right, dy);
        path.moveTo(right - head, dy - dh * 0.5);
        path.lineTo(right, dy);
        path.lineTo(right - head, dy + dh * 0.5);
        break;
    }
    }
    if (!path.isEmpty())
        painter.drawPath(path);
    painter.restore();
    return xe + 0.3 * a;
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
