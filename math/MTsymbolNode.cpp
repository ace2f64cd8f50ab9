#include "math/MTsymbolNode.h"

#include "math/MTlayout.h"
#include "math/VelQTmathText.h"

#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QSet>

struct MTsymbolNode::Box
{
    int generation = 0;
    int dpi = -1;
    MTstyle env;
    QFont font;
    double width = 0;
    double baselineHeight = 0;
    double overallHeight = 0;
    double strikeoutPos = 0;
    double italicCorrection = 0;
    double shift = 0; // of the glyph's baseline, downwards
    double inkLeft = 1, inkRight = 0; // across, from the start; none for spaces
};

MTsymbolNode::MTsymbolNode(VelQTmathText* parent, QString name, bool addWhitespace)
    : MTnode(parent), symbolName(name), math(MTsymbolTables::math(name)), limits(math.limits)
{
    if (const MTsymbolProperties* found = MTsymbolTables::lookup(parent->getFontEncoding(), name))
        props = *found;
    if (addWhitespace)
        props.symbol += QLatin1Char(' ');
}

MTsymbolNode::~MTsymbolNode() = default;

QString MTsymbolNode::typeName() const
{
    return QStringLiteral("MTsymbolNode(%1)").arg(symbolName);
}

MTatomClass MTsymbolNode::firstAtom() const
{
    return math.atom;
}

bool MTsymbolNode::isCharacter() const
{
    // TeX boxes an operator's nucleus: its indices then hang from its corners.
    return math.atom != AtomOp;
}

bool MTsymbolNode::hasLimits(const MTstyle& env) const
{
    return math.atom == AtomOp
        && (limits == LimitsAlways || (limits == LimitsOutsideScripts && !env.isScriptStyle()));
}

QFont MTsymbolNode::symbolFont(const MTstyle& env) const
{
    // One of the engine's shared fonts: a QFont changed here would cost a
    // font database lookup at every measuring and drawing.
    MTstyle style = env;
    if (props.italic != 0)
        style.italic = props.italic > 0;
    if (props.bold != 0)
        style.bold = props.bold > 0;
    const auto inFamily = [this](const MTstyle& style) {
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
    };
    if (!isBigOperator())
        return inFamily(style);
    // A big operator is as tall as TeX's glyph of the style, whatever the
    // proportions of the family's own glyph.
    const QFont natural = inFamily(style);
    const double ink =
        parent->tightBounds(natural, props.symbol, nullptr).height() / parent->em(natural.pointSizeF(), nullptr);
    const double height = env.mathStyle == MathDisplay ? math.displayHeight : math.textHeight;
    return ink > 0 ? inFamily(MTlayout::scaled(style, height / ink)) : natural;
}

bool MTsymbolNode::isLongArrow() const
{
    static const QSet<QString> names = {"longleftarrow", "longrightarrow", "Longleftarrow",
                                        "Longrightarrow", "longleftrightarrow", "Longleftrightarrow"};
    return props.symbol.isEmpty() && names.contains(symbolName);
}

const MTsymbolNode::Box& MTsymbolNode::measure(QPainter& painter, const MTstyle& env)
{
    QPaintDevice* device = painter.device();
    const int generation = parent->settingsGeneration();
    const int dpi = device ? device->logicalDpiY() : 0;
    if (!cache)
        cache = std::make_unique<Box>();
    if (cache->generation == generation && cache->dpi == dpi && cache->env == env)
        return *cache;
    Box& box = *cache;
    box = Box();
    box.generation = generation;
    box.dpi = dpi;
    box.env = env;
    box.font = symbolFont(env);
    const QFont& font = box.font;
    box.strikeoutPos = parent->strikeOutPos(font, device);

    // Names without a glyph of their own still take room, and those that
    // draw a stand-in ("|", the rotated "8", the long arrows) take the
    // height of what they draw so that nothing is cut off.
    QString inked = props.symbol;
    if (props.symbol.isEmpty()) {
        if (math.space != 0) {
            box.width = math.space * MTlayout::mu(parent, painter, env);
        } else if (symbolName == "|") {
            box.width = 0.8 * parent->textAdvance(font, "1", device);
            inked = "|";
        } else if (symbolName == "infty") {
            box.width = parent->textAdvance(font, "M", device);
            box.inkLeft = 0;
            box.inkRight = box.width;
            box.baselineHeight = parent->xHeight(font, device);
            box.overallHeight = qMax(box.baselineHeight, parent->textAdvance(font, "8", device));
        } else if (isLongArrow()) {
            box.width = 3.5 * parent->tightBounds(font, "X", device).width();
            inked = "x";
        } else {
            box.width = parent->textAdvance(font, "a", device);
        }
    } else {
        // TeX's box of a character: its advance, and the italic correction
        // of a glyph whose ink leans beyond it (the integral sign).
        const double advance = parent->textAdvance(font, props.symbol, device);
        const QRectF ink = parent->tightBounds(font, props.symbol, device);
        box.italicCorrection = std::max(0.0, ink.right() - advance);
        box.width = advance + box.italicCorrection;
    }
    if (!inked.isEmpty()) {
        const QRectF r = parent->tightBounds(font, inked, device);
        box.inkLeft = props.symbol.isEmpty() ? 0 : r.left(); // stand-ins keep to their box
        box.inkRight = props.symbol.isEmpty() ? box.width : r.right();
        box.overallHeight = r.height();
        if (isBigOperator())
            box.shift = -MTlayout::axisHeight(parent, painter, env) - r.center().y(); // centred on the axis
        box.baselineHeight = -r.top() - box.shift;
        // Named functions have no depth: their limits hang from the baseline.
        if (props.ascentOnlyHeight && !props.tightAscent)
            box.overallHeight = box.baselineHeight;
    }
    return box;
}

void MTsymbolNode::computeSize(QPainter& painter, MTstyle env, double& width, double& baselineHeight,
                               double& overallHeight, double& strikeoutPos)
{
    const Box& box = measure(painter, env);
    width = box.width;
    baselineHeight = box.baselineHeight;
    overallHeight = box.overallHeight;
    strikeoutPos = box.strikeoutPos;
}

void MTsymbolNode::inkExtent(QPainter& painter, const MTstyle& env, double& left, double& right)
{
    const Box& box = measure(painter, env);
    left = box.inkLeft;
    right = box.inkRight;
}

double MTsymbolNode::italicCorrection(QPainter& painter, const MTstyle& env)
{
    return measure(painter, env).italicCorrection;
}

double MTsymbolNode::draw(QPainter& painter, double x, double y, MTstyle env)
{
    drawDebugBoxes(painter, x, y, env);
    const Box& box = measure(painter, env);
    const bool inked = !props.symbol.isEmpty() || symbolName == "|" || symbolName == "infty" || isLongArrow();
    if (!inked)
        return x + box.width; // a space or an unknown name: room only
    // Nodes set the pen (and font) they draw with; the engine restores the
    // painter once for the whole formula (a save per node costs more than
    // the glyph).
    const QFont& font = box.font;
    painter.setPen(QPen(env.color));
    if (!props.symbol.isEmpty()) {
        const double baseline = y + box.shift;
        parent->drawText(painter, QPointF(x, baseline), font, props.symbol);
        if (props.drawBar) {
            // The bar of "ħ": across the ascender, a little above the x-height.
            QPaintDevice* device = painter.device();
            const double barY = baseline - parent->xHeight(font, device) * 1.2;
            painter.setPen(MTlayout::pen(env.color, qMax(0.5, parent->lineWidth(font, device))));
            painter.drawLine(QPointF(x, barY), QPointF(x + parent->textAdvance(font, "h", device) * 0.6, barY));
        }
    } else if (symbolName == "|") {
        parent->drawText(painter, QPointF(x, y), font, "|");
    } else if (symbolName == "infty") {
        painter.save();
        painter.setFont(font);
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
