#include "math/MTbraceNode.h"

#include "math/MTlayout.h"
#include "math/VelQTmathText.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

bool isDoubleBar(const QString& code)
{
    return code == QLatin1String("#") || code == QLatin1String("||");
}

// One bracket in its slot. `edge` is where the bracket's open side lies
// (0.85 of the slot on the left, 0.15 on the right), `back` where its
// straight side lies, `bulge` how far round and angle brackets reach.
struct Slot
{
    double edge, back, bulge;
    double top, bottom, middle, curve;
};

void drawBracket(QPainter& painter, const QString& code, const Slot& s, double lineWidth, bool opening)
{
    QPainterPath path;
    if (code == QLatin1String("(") || code == QLatin1String(")")) {
        path.moveTo(s.edge, s.bottom);
        path.cubicTo(s.bulge, s.middle + s.curve, s.bulge, s.middle - s.curve, s.edge, s.top);
    } else if (code == QLatin1String("[") || code == QLatin1String("]")) {
        path.moveTo(s.edge, s.bottom);
        path.lineTo(s.back, s.bottom);
        path.lineTo(s.back, s.top);
        path.lineTo(s.edge, s.top);
    } else if (code == QLatin1String("_")) {
        path.moveTo(s.edge, s.bottom);
        path.lineTo(s.back, s.bottom);
        path.lineTo(s.back, s.top);
    } else if (code == QLatin1String("~")) {
        path.moveTo(s.back, s.bottom);
        path.lineTo(s.back, s.top);
        path.lineTo(s.edge, s.top);
    } else if (code == QLatin1String("<") || code == QLatin1String(">")) {
        path.moveTo(s.edge, s.bottom);
        path.lineTo(s.bulge, s.middle);
        path.lineTo(s.edge, s.top);
    } else if (code == QLatin1String("|") || isDoubleBar(code)) {
        if (s.bottom > s.top) {
            path.moveTo(s.edge, s.bottom);
            path.lineTo(s.edge, s.top);
            if (isDoubleBar(code)) {
                // The second bar lies outwards of the first.
                const double other = s.edge + (opening ? -1.5 : 1.5) * lineWidth;
                path.moveTo(other, s.bottom);
                path.lineTo(other, s.top);
            }
        }
    } else if (code == QLatin1String("{") || code == QLatin1String("}")) {
        // The horizontal brace turned on its side, tip outwards.
        const double span = s.bottom - s.top;
        QTransform turn;
        if (opening) {
            turn.translate(s.edge, s.top);
            turn.rotate(90);
        } else {
            turn.translate(s.edge, s.bottom);
            turn.rotate(270);
        }
        path = turn.map(MTlayout::curlyBrace(span, std::abs(s.edge - s.bulge)));
    }
    if (!path.isEmpty())
        painter.drawPath(path);
}

// Brackets are never smaller than the font's own round bracket: around a
// short or empty content they would shrink to a few pixels or vanish.
void atLeastFontBracket(QPainter& painter, VelQTmathText* parent, const MTstyle& env, double& baselineHeight,
                        double& overallHeight)
{
    const QRectF paren = parent->tightBounds(env.getFont(parent), QStringLiteral("("), painter.device());
    const double depth = std::max(overallHeight - baselineHeight, paren.bottom());
    baselineHeight = std::max(baselineHeight, -paren.top());
    overallHeight = baselineHeight + depth;
}

} // namespace

MTbraceNode::MTbraceNode(VelQTmathText* parent, QString openBracket, QString closeBracket, MTnode* child,
                         bool rightBraceSeen)
    : MTnode(parent)
    , child(child)
    , openBracket(openBracket)
    , closeBracket(closeBracket)
    , rightBraceSeen(rightBraceSeen)
{
}

MTbraceNode::~MTbraceNode()
{
    delete child;
}

void MTbraceNode::bracketWidth(QPainter&, const MTstyle& env, double, double overallHeight, double& braceWidth,
                               double& braceHeight) const
{
    const double lw = MTlayout::bracketLineWidth(env.fontSize);
    braceHeight = parent->getBraceFactor() * overallHeight;
    // Brackets widen more slowly than they grow.
    braceWidth = std::pow(std::max(0.0, braceHeight), 0.6) * 0.6;
    if (openBracket == QLatin1String("{") || closeBracket == QLatin1String("}"))
        braceWidth = std::max(braceWidth, lw * 3.5);
}

void MTbraceNode::computeSize(QPainter& painter, MTstyle env, double& width, double& baselineHeight,
                              double& overallHeight, double& strikeoutPos)
{
    double w = 0, b = 0, h = 0;
    strikeoutPos = 0;
    if (child)
        child->getSize(painter, env, w, b, h, strikeoutPos);
    atLeastFontBracket(painter, parent, env, b, h);
    double braceWidth = 0, braceHeight = 0;
    bracketWidth(painter, env, b, h, braceWidth, braceHeight);
    const double factor = parent->getBraceFactor();
    baselineHeight = b * factor;
    overallHeight = factor * std::max(h, braceHeight);
    width = w + 2 * braceWidth / MTlayout::safeDivisor(parent->getBraceShrinkFactor());
}

double MTbraceNode::draw(QPainter& painter, double x, double y, MTstyle env)
{
    drawDebugBoxes(painter, x, y, env);
    double cw = 0, cb = 0, ch = 0, cs = 0;
    if (child)
        child->getSize(painter, env, cw, cb, ch, cs);
    atLeastFontBracket(painter, parent, env, cb, ch);
    double bw = 0, braceHeight = 0;
    bracketWidth(painter, env, cb, ch, bw, braceHeight);
    const double factor = parent->getBraceFactor();
    const double B = cb * factor;
    const double H = factor * std::max(ch, braceHeight);
    const double slot = bw / MTlayout::safeDivisor(parent->getBraceShrinkFactor());
    const double lw = MTlayout::bracketLineWidth(env.fontSize);

    Slot s;
    s.bottom = y + (H - B);
    s.top = y - B;
    s.middle = (s.bottom + s.top) / 2;
    s.curve = std::abs(s.bottom - s.top) / 6;

    painter.save();
    painter.setPen(MTlayout::pen(env.color, lw));
    painter.setBrush(Qt::NoBrush);
    const double xl = x + lw;
    s.edge = xl + 0.85 * bw;
    s.back = xl + lw / 2;
    s.bulge = xl;
    drawBracket(painter, openBracket, s, lw, true);
    painter.restore();

    const double childEnd = child ? child->draw(painter, x + slot, y, env) : x + slot;
    if (rightBraceSeen) {
        painter.save();
        painter.setPen(MTlayout::pen(env.color, lw));
        painter.setBrush(Qt::NoBrush);
        const double xr = childEnd + lw;
        s.edge = xr + 0.15 * bw;
        s.back = xr + bw - lw / 2;
        s.bulge = xr + bw;
        drawBracket(painter, closeBracket, s, lw, false);
        painter.restore();
    }
    return x + cw + 2 * slot;
}

bool MTbraceNode::toHtml(QString& html, MTstyle currentEv, MTstyle defaultEv)
{
    auto code = [](const QString& bracket, bool opening) -> QString {
        if (bracket == QLatin1String("<") && opening)
            return QStringLiteral("&lang;");
        if (bracket == QLatin1String(">") && !opening)
            return QStringLiteral("&rang;");
        if (bracket == QLatin1String("_"))
            return opening ? QStringLiteral("&lfloor;") : QStringLiteral("&rfloor;");
        if (bracket == QLatin1String("~"))
            return opening ? QStringLiteral("&lceil;") : QStringLiteral("&rceil;");
        if (isDoubleBar(bracket))
            return QStringLiteral("||");
        return bracket.toHtmlEscaped();
    };
    html += code(openBracket, true);
    const bool ok = !child || child->toHtml(html, currentEv, defaultEv);
    html += code(closeBracket, false);
    return ok;
}

void MTbraceNode::setDebugBoxes(bool debug)
{
    MTnode::setDebugBoxes(debug);
    if (child)
        child->setDebugBoxes(debug);
}

QString MTbraceNode::typeName() const
{
    return QLatin1String("MTbraceNode(") + openBracket + QLatin1Char(' ') + closeBracket + QLatin1Char(')');
}
