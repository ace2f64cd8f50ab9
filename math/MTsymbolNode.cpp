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
    QFont font = env.getFont(parent);
    switch (props.font) {
    case SymbolRoleDefault:
        break;
    case SymbolRoleSymbol:
        font.setFamily(parent->getFontSymbol());
        break;
    case SymbolRoleGreek:
        font.setFamily(parent->getFontGreek());
        break;
    case SymbolRoleBraces:
        font.setFamily(parent->getFontBraces());
        break;
    case SymbolRoleIntegrals:
        font.setFamily(parent->getFontIntegrals());
        break;
    case SymbolRoleCaligraphic:
        font.setFamily(parent->getFontCaligraphic());
        break;
    case SymbolRoleBlackboard:
        font.setFamily(parent->getFontBlackboard());
        break;
    }
    font.setPointSizeF(MTlayout::boundedFontSize(env.fontSize * props.sizeFactor));
    if (props.italic != 0)
        font.setItalic(props.italic > 0);
    if (props.bold != 0)
        font.setWeight(props.bold > 0 ? QFont::Bold : QFont::Normal);
    return font;
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
    const QFontMetricsF fm = MTlayout::metrics(painter, font);
    Box box;
    box.strikeoutPos = fm.strikeOutPos();

    // Names without a glyph of their own still take room, and those that
    // draw a stand-in ("|", the rotated "8", the long arrows) take the
    // height of what they draw so that nothing is cut off.
    QString inked = props.symbol;
    if (props.symbol.isEmpty()) {
        const double xWidth = parent->tightBounds(font, "x", device).width();
        if (symbolName == "|") {
            box.glyphWidth = 0.8 * fm.horizontalAdvance("1");
            inked = "|";
        } else if (symbolName == "infty") {
            box.glyphWidth = fm.horizontalAdvance("M");
            box.baselineHeight = fm.xHeight();
            box.overallHeight = qMax(fm.xHeight(), fm.horizontalAdvance("8"));
        } else if (isSpace(symbolName)) {
            box.glyphWidth = spaceFactor(symbolName) * xWidth;
        } else if (isLongArrow()) {
            box.glyphWidth = 3.5 * parent->tightBounds(font, "X", device).width();
            inked = "x";
        } else {
            box.glyphWidth = fm.horizontalAdvance("a");
        }
    } else {
        if (env.insideMath)
            box.glyphWidth = qMax(parent->tightBounds(font, "i", device).width(),
                                  parent->tightBounds(font, props.symbol, device).width());
        else
            box.glyphWidth = fm.boundingRect(props.symbol).width();
        box.glyphWidth = qMax(box.glyphWidth, fm.horizontalAdvance("j"));
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
    const QFont font = symbolFont(env);
    painter.save();
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
            const QFontMetricsF fm = MTlayout::metrics(painter, font);
            const double barY = baseline - fm.xHeight() * 1.2;
            painter.setPen(MTlayout::pen(env.color, qMax(0.5, fm.lineWidth())));
            painter.drawLine(QPointF(glyphX, barY), QPointF(glyphX + fm.horizontalAdvance("h") * 0.6, barY));
        }
    } else if (symbolName == "|") {
        painter.drawText(QPointF(x, y), "|");
    } else if (symbolName == "infty") {
        drawRotatedEight(painter, x, y, font);
    } else if (isLongArrow()) {
        drawLongArrow(painter, x, y, font);
    }
    painter.restore();
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
