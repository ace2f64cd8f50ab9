#include "math/MTsymbolNode.h"

#include "math/MTlayout.h"
#include "math/VelQTmathText.h"

#include <QPainter>
#include <QPainterPath>

struct MTsymbolNode::Box
{
    double width = 0;
    double baselineHeight = 0;
    double overallHeight = 0;
    double strikeoutPos = 0;
    double glyphWidth = 0; // before widening in math
    QRectF ink;            // tight rectangle of the symbol's text
};

namespace {

// Spaces as fractions of the width of "x", after TeX's \; \: \, and \!.
double spaceFactor(const QString& name)
{
    if (name == " ")
        return 1.0;
    if (name == ";")
        return 0.75;
    if (name == ":")
        return 0.5;
    if (name == ",")
        return 0.25;
    if (name == "!")
        return -0.25;
    return 0.0;
}

bool isSpace(const QString& name)
{
    return spaceFactor(name) != 0.0;
}

} // namespace

MTsymbolNode::MTsymbolNode(VelQTmathText* parent, QString name, bool addWhitespace)
    : MTnode(parent), symbolName(name)
{
    widenInMath = MTsymbolTables::widensInMath(name);
    if (const MTsymbolProperties* found = MTsymbolTables::lookup(parent->getFontEncoding(), name))
        props = *found;
    if (addWhitespace)
        props.symbol += QLatin1Char(' ');
}

QString MTsymbolNode::typeName() const
{
    return QStringLiteral("MTsymbolNode(%1)").arg(symbolName);
}

QFont MTsymbolNode::symbolFont(const MTstyle& env) const
{
    // One of the engine's shared fonts: a QFont changed here would cost a
    // font database lookup at every measuring and drawing.
    MTstyle style = MTlayout::scaled(env, props.sizeFactor);
    if (props.italic != 0)
        style.italic = props.italic > 0;
    if (props.bold != 0)
        style.bold = props.bold > 0;
    switch (props.font) {
    case SymbolRoleDefault:
        break;
    case SymbolRoleSymbol:
        return parent->font(parent->getFontSymbol(), style);
    case SymbolRoleGreek:
        return parent->font(parent->getFontGreek(), style);
    case SymbolRoleBraces:
        return parent->font(parent->getFontBraces(), style);
    case SymbolRoleIntegrals:
        return parent->font(parent->getFontIntegrals(), style);
    case SymbolRoleCaligraphic:
        return parent->font(parent->getFontCaligraphic(), style);
    case SymbolRoleBlackboard:
        return parent->font(parent->getFontBlackboard(), style);
    }
    return style.getFont(parent);
}

bool MTsymbolNode::isLongArrow() const
{
    static const QStringList names = {"longleftarrow", "longrightarrow", "Longleftarrow",
                                      "Longrightarrow", "longleftrightarrow", "Longleftrightarrow"};
    return names.contains(symbolName);
}

MTsymbolNode::Box MTsymbolNode::measure(QPainter& painter, const MTstyle& env) const
{
    const QFont font = symbolFont(env);
    QPaintDevice* device = painter.device();
    Box box;
    box.strikeoutPos = parent->strikeOutPos(font, device);

    // Names without a glyph of their own still take room, and those that
    // draw a stand-in ("|", the rotated "8", the long arrows) take the
    // height of what they draw so that nothing is cut off.
    QString inked = props.symbol;
    if (props.symbol.isEmpty()) {
        const double xWidth = parent->tightBounds(font, "x", device).width();
        if (symbolName == "|") {
            box.glyphWidth = 0.8 * parent->textAdvance(font, "1", device);
            inked = "|";
        } else if (symbolName == "infty") {
            box.glyphWidth = parent->textAdvance(font, "M", device);
            box.baselineHeight = parent->xHeight(font, device);
            box.overallHeight = qMax(box.baselineHeight, parent->textAdvance(font, "8", device));
        } else if (isSpace(symbolName)) {
            box.glyphWidth = spaceFactor(symbolName) * xWidth;
        } else if (isLongArrow()) {
            box.glyphWidth = 3.5 * parent->tightBounds(font, "X", device).width();
            inked = "x";
        } else {
            box.glyphWidth = parent->textAdvance(font, "a", device);
        }
    } else {
        if (env.insideMath)
            box.glyphWidth = qMax(parent->tightBounds(font, "i", device).width(),
                                  parent->tightBounds(font, props.symbol, device).width());
        else
            box.glyphWidth = parent->textBounds(font, props.symbol, device).width();
        box.glyphWidth = qMax(box.glyphWidth, parent->textAdvance(font, "j", device));
    }
    if (!inked.isEmpty()) {
        const QRectF r = parent->tightBounds(font, inked, device);
        box.ink = r;
        box.baselineHeight = -r.top();
        box.overallHeight = r.height();
        if (props.ascentOnlyHeight && !props.tightAscent)
            box.overallHeight = box.baselineHeight * 1.1;
    }
    box.width = box.glyphWidth;
    if (env.insideMath && widenInMath)
        box.width *= parent->getMathoperatorWidthFactor();
    return box;
}

void MTsymbolNode::computeSize(QPainter& painter, MTstyle env, double& width, double& baselineHeight,
                               double& overallHeight, double& strikeoutPos)
{
    const Box box = measure(painter, env);
    width = box.width;
    baselineHeight = box.baselineHeight;
    overallHeight = box.overallHeight;
    strikeoutPos = box.strikeoutPos;
}

double MTsymbolNode::draw(QPainter& painter, double x, double y, MTstyle env)
{
    drawDebugBoxes(painter, x, y, env);
    const Box box = measure(painter, env);
    const bool inked = !props.symbol.isEmpty() || symbolName == "|" || symbolName == "infty" || isLongArrow();
    if (!inked)
        return x + box.width; // a space or an unknown name: room only
    // Nodes set the font and pen they draw with; the engine restores the
    // painter once for the whole formula (a save per node costs more than
    // the glyph).
    const QFont font = symbolFont(env);
    if (painter.font() != font)
        painter.setFont(font);
    painter.setPen(QPen(env.color));
    if (!props.symbol.isEmpty()) {
        // In math the box is as wide as the ink, so the ink (not the glyph's
        // origin) is centred: a side bearing would push it into the next box.
        const double glyphX = env.insideMath ? x + (box.width - box.ink.width()) / 2 - box.ink.left()
                                             : x + (box.width - box.glyphWidth) / 2;
        const double baseline = y + props.yShift * box.overallHeight;
        painter.drawText(QPointF(glyphX, baseline), props.symbol);
        if (props.drawBar) {
            // The bar of "ħ": across the ascender, a little above the x-height.
            QPaintDevice* device = painter.device();
            const double barY = baseline - parent->xHeight(font, device) * 1.2;
            painter.setPen(MTlayout::pen(env.color, qMax(0.5, parent->lineWidth(font, device))));
            painter.drawLine(QPointF(glyphX, barY),
                             QPointF(glyphX + parent->textAdvance(font, "h", device) * 0.6, barY));
        }
    } else if (symbolName == "|") {
        painter.drawText(QPointF(x, y), "|");
    } else if (symbolName == "infty") {
        painter.save();
        drawRotatedEight(painter, x, y, font);
        painter.restore();
    } else if (isLongArrow()) {
        drawLongArrow(painter, x, y, font);
    }
    return x + box.width;
}

void MTsymbolNode::drawRotatedEight(QPainter& painter, double x, double y, const QFont& font) const
{
    const QFontMetricsF fm = MTlayout::metrics(painter, font);
    painter.translate(x + fm.horizontalAdvance("8") / 3, y - fm.xHeight());
    painter.rotate(90);
    painter.drawText(QPointF(0, 0), "8");
}

void MTsymbolNode::drawLongArrow(QPainter& painter, double x, double y, const QFont& font) const
{
    const QFontMetricsF fm = MTlayout::metrics(painter, font);
    const double xWidth = parent->tightBounds(font, "X", painter.device()).width();
    // 3 widths of "X" from a quarter width in: the arrow stays inside the
    // 3.5 widths the node is measured with.
    const double left = x + 0.25 * xWidth;
    const double right = left + 3.0 * xWidth;
    const double axis = y - fm.xHeight() / 2;
    const double head = fm.xHeight() * 0.35;
    const bool isDouble = symbolName.at(0) == QLatin1Char('L');
    const bool toLeft = symbolName.contains("leftarrow") || symbolName.contains("leftright");
    const bool toRight = symbolName.contains("rightarrow");
    const double gap = isDouble ? head * 0.45 : 0.0;

    QPainterPath path;
    for (double dy : {-gap, gap}) {
        path.moveTo(left + (toLeft ? gap : 0), axis + dy);
        path.lineTo(right - (toRight ? gap : 0), axis + dy);
        if (!isDouble)
            break;
    }
    if (toLeft) {
        path.moveTo(left + head, axis - head);
        path.lineTo(left, axis);
        path.lineTo(left + head, axis + head);
    }
    if (toRight) {
        path.moveTo(right - head, axis - head);
        path.lineTo(right, axis);
        path.lineTo(right - head, axis + head);
    }
    QPen pen = MTlayout::pen(painter.pen().color(), qMax(0.5, fm.lineWidth()));
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    painter.strokePath(path, pen);
}

bool MTsymbolNode::toHtml(QString& html, MTstyle currentEv, MTstyle defaultEv)
{
    Q_UNUSED(currentEv)
    Q_UNUSED(defaultEv)
    const QString entity = MTsymbolTables::html(symbolName);
    if (entity.isNull())
        return false;
    html += entity;
    return true;
}
