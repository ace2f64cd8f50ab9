#include "math/MTbraceNode.h"

#include "math/MTlayout.h"
#include "math/MTtexParameters.h"
#include "math/VelQTmathText.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

bool isInvisible(const QString& code)
{
    return code.isEmpty() || code == QLatin1String(".");
}

bool isDoubleBar(const QString& code)
{
    return code == QLatin1String("#") || code == QLatin1String("||");
}

// One bracket in its slot. `edge` is where the bracket's open side lies
// (0.85 of the slot on the left, 0.15 on the right), `back` where its
// straight side lies, `bulge` how far round and angle brackets reach;
// bars stand in the `centre` of their slot.
struct Slot
{
    double edge, back, bulge, centre;
    double top, bottom, middle, curve;
};

// TeX's widths of the bar and the double bar (cmsy10), in ems: the room
// of a drawn bar, which stands in its middle.
constexpr double barSlotEm = 0.278, doubleBarSlotEm = 0.5;

// The slot of a bracket drawn from `left`, `slot` wide, between top and
// bottom, for a bracket `width` wide drawn with lines `lineWidth` wide.
Slot slotAt(double left, double slot, double top, double bottom, double width, double lineWidth, bool opening)
{
    Slot s;
    s.top = top;
    s.bottom = bottom;
    s.middle = (bottom + top) / 2;
    s.curve = std::abs(bottom - top) / 6;
    s.centre = left + slot / 2;
    const double xl = left + lineWidth;
    s.edge = xl + (opening ? 0.85 : 0.15) * width;
    s.back = opening ? xl + lineWidth / 2 : xl + width - lineWidth / 2;
    s.bulge = opening ? xl : xl + width;
    return s;
}

QPainterPath bracketPath(const QString& code, const Slot& s, double lineWidth, bool opening)
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
        // A double bar as tight as the font's: a line's width between the two.
        const double offset = isDoubleBar(code) ? lineWidth : 0;
        if (s.bottom > s.top) {
            path.moveTo(s.centre - offset, s.bottom);
            path.lineTo(s.centre - offset, s.top);
            if (isDoubleBar(code)) {
                path.moveTo(s.centre + offset, s.bottom);
                path.lineTo(s.centre + offset, s.top);
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
    return path;
}

// The font's glyph of a bracket: TeX's smallest size of it. Empty for the
// single bar, whose glyph is shorter than the others: it is always drawn.
QString glyphOf(const QString& code, bool opening)
{
    static const QHash<QString, QPair<QString, QString>> glyphs = {
        {"(", {"(", ")"}}, {")", {"(", ")"}}, {"[", {"[", "]"}}, {"]", {"[", "]"}},
        {"{", {"{", "}"}}, {"}", {"{", "}"}}, {"<", {"\u27E8", "\u27E9"}}, {">", {"\u27E8", "\u27E9"}},
        {"_", {"\u230A", "\u230B"}}, {"~", {"\u2308", "\u2309"}}, {"#", {"\u2016", "\u2016"}},
        {"||", {"\u2016", "\u2016"}},
    };
    const auto it = glyphs.constFind(code);
    if (it == glyphs.constEnd())
        return QString();
    return opening ? it->first : it->second;
}

} // namespace

// One bracket: the font's glyph or a drawn path, and its room.
struct MTbraceNode::Side
{
    QString glyph;    // empty: drawn as a path
    double slot = 0;  // the room beside the content
    double shift = 0; // of the glyph's baseline, downwards
};

// The content and the brackets' span in one style.
struct MTbraceNode::Parts
{
    double w = 0, b = 0, h = 0;   // the content
    double top = 0, bottom = 0;   // the brackets' ends above and below the baseline
    double braceWidth = 0;        // of a drawn bracket
    Side open, close;
    QFont font;                   // of the glyphs
};

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

MTatomClass MTbraceNode::firstAtom() const
{
    return AtomInner;
}

double MTbraceNode::bracketWidth(QPainter& painter, const MTstyle& env, double height) const
{
    const double em = MTlayout::em(parent, painter, env);
    // Brackets widen more slowly than they grow.
    double width = em > 0 ? 0.16 * em * std::pow(std::max(0.0, height / em), 0.6) : 0;
    if (openBracket == QLatin1String("{") || closeBracket == QLatin1String("}"))
        width = std::max(width, MTlayout::bracketLineWidth(env.fontSize) * 3.5);
    return width;
}

void MTbraceNode::measureParts(QPainter& painter, const MTstyle& env, Parts& p)
{
    double s = 0;
    if (child)
        child->getSize(painter, env, p.w, p.b, p.h, s);
    // TeX's rule 19: both brackets alike, centred on the axis, covering
    // 90 % of the content's reach from the axis, or all of it but half an
    // em; never smaller than the font's own round bracket.
    const double axis = MTlayout::axisHeight(parent, painter, env);
    const double em = MTlayout::em(parent, painter, env);
    const double reach = 2 * std::max(p.b - axis, (p.h - p.b) + axis);
    const double needed = std::max(reach * MTtex::delimiterFactor, reach - MTtex::delimiterShortfall * em);
    MTstyle upright = env;
    upright.italic = false;
    p.font = parent->font(parent->getFontBraces(), upright);
    QPaintDevice* device = painter.device();
    const double height = std::max(needed, parent->tightBounds(p.font, QStringLiteral("("), device).height());
    p.top = axis + height / 2;
    p.bottom = height / 2 - axis;
    p.braceWidth = bracketWidth(painter, env, height);
    const double drawnSlot = p.braceWidth / MTlayout::safeDivisor(parent->getBraceShrinkFactor());
    const auto side = [&](const QString& code, bool opening) {
        Side result;
        // An invisible bracket ("\left.") takes TeX's \nulldelimiterspace only.
        if (isInvisible(code)) {
            result.slot = MTtex::nullDelimiterSpace * em;
            return result;
        }
        const QString glyph = glyphOf(code, opening);
        const QRectF ink = glyph.isEmpty() ? QRectF() : parent->tightBounds(p.font, glyph, device);
        if (glyph.isEmpty() || ink.height() < needed) {
            result.slot = code == QLatin1String("|") ? barSlotEm * em
                : isDoubleBar(code)                  ? doubleBarSlotEm * em
                                                     : drawnSlot;
            return result;
        }
        // Where the glyph is as tall as needed, TeX takes it as it is.
        result.glyph = glyph;
        result.slot = parent->textAdvance(p.font, glyph, device);
        result.shift = -axis - ink.center().y();
        p.top = std::max(p.top, -(ink.top() + result.shift));
        p.bottom = std::max(p.bottom, ink.bottom() + result.shift);
        return result;
    };
    p.open = side(openBracket, true);
    p.close = side(closeBracket, false);
}

void MTbraceNode::computeSize(QPainter& painter, MTstyle env, double& width, double& baselineHeight,
                              double& overallHeight, double& strikeoutPos)
{
    Parts p;
    measureParts(painter, env, p);
    const double lw = MTlayout::bracketLineWidth(env.fontSize);
    // The strokes' ends reach half a line beyond the bracket's span.
    baselineHeight = std::max(p.b, p.top + lw / 2);
    overallHeight = baselineHeight + std::max(p.h - p.b, p.bottom + lw / 2);
    width = p.w + p.open.slot + p.close.slot;
    strikeoutPos = MTlayout::axisHeight(parent, painter, env);
}

double MTbraceNode::draw(QPainter& painter, double x, double y, MTstyle env)
{
    drawDebugBoxes(painter, x, y, env);
    Parts p;
    measureParts(painter, env, p);
    const double lw = MTlayout::bracketLineWidth(env.fontSize);
    const auto drawSide = [&](const Side& side, const QString& code, double left, bool opening) {
        painter.save();
        if (!side.glyph.isEmpty()) {
            painter.setPen(QPen(env.color));
            parent->drawText(painter, QPointF(left, y + side.shift), p.font, side.glyph);
        } else {
            painter.setPen(MTlayout::pen(env.color, lw));
            painter.setBrush(Qt::NoBrush);
            painter.drawPath(bracketPath(
                code, slotAt(left, side.slot, y - p.top, y + p.bottom, p.braceWidth, lw, opening), lw, opening));
        }
        painter.restore();
    };
    drawSide(p.open, openBracket, x, true);
    const double childEnd = child ? child->draw(painter, x + p.open.slot, y, env) : x + p.open.slot;
    if (rightBraceSeen)
        drawSide(p.close, closeBracket, childEnd, false);
    return x + p.w + p.open.slot + p.close.slot;
}

void MTbraceNode::inkExtent(QPainter& painter, const MTstyle& env, double& left, double& right)
{
    Parts p;
    measureParts(painter, env, p);
    const double lw = MTlayout::bracketLineWidth(env.fontSize);
    MTlayout::InkSpan ink;
    const auto addSide = [&](const Side& side, const QString& code, double start, bool opening) {
        if (!side.glyph.isEmpty()) {
            const QRectF r = parent->tightBounds(p.font, side.glyph, painter.device());
            ink.add(start + r.left(), start + r.right());
        } else {
            const QPainterPath path =
                bracketPath(code, slotAt(start, side.slot, -p.top, p.bottom, p.braceWidth, lw, opening), lw, opening);
            if (!path.isEmpty()) // the stroke reaches half a line beyond the path
                ink.add(path.boundingRect().left() - lw / 2, path.boundingRect().right() + lw / 2);
        }
    };
    addSide(p.open, openBracket, 0, true);
    ink.add(painter, child, env, p.open.slot);
    if (rightBraceSeen)
        addSide(p.close, closeBracket, p.open.slot + p.w, false);
    left = ink.left;
    right = ink.right;
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
