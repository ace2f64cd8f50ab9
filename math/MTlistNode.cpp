#include "math/MTlistNode.h"

#include "math/MTbraceNode.h"
#include "math/MTlayout.h"
#include "math/MTsubscriptNode.h"
#include "math/MTsuperscriptNode.h"
#include "math/MTsymbolNode.h"
#include "math/VelQTmathText.h"

#include <QPainter>

namespace {

struct Box
{
    double width = 0, baseline = 0, overall = 0, strikeout = 0;
    double depth() const { return overall - baseline; }
};

Box measure(QPainter& painter, MTnode* node, const MTstyle& env)
{
    Box box;
    node->getSize(painter, env, box.width, box.baseline, box.overall, box.strikeout);
    return box;
}

template<class T>
T* nodeAt(const QList<MTnode*>& nodes, int i)
{
    return i >= 0 && i < nodes.size() ? dynamic_cast<T*>(nodes.at(i)) : nullptr;
}

MTnode* indexChild(MTnode* index)
{
    if (auto* sub = dynamic_cast<MTsubscriptNode*>(index))
        return sub->getChild();
    if (auto* super = dynamic_cast<MTsuperscriptNode*>(index))
        return super->getChild();
    return nullptr;
}

} // namespace

// The running state of one walk over the children.
struct MTlistNode::Layout
{
    double x = 0;      // where the next child starts (drawing)
    double width = 0;  // sum of the children's widths (measuring)
    double baseline = 0;
    double overall = 0;
    double strikeout = 0;

    void addOrdinary(const Box& box)
    {
        if (box.baseline > baseline) {
            overall += box.baseline - baseline;
            baseline = box.baseline;
            strikeout = box.strikeout;
        }
        overall = std::max(overall, baseline + box.depth());
    }
};

MTlistNode::MTlistNode(VelQTmathText* parent)
    : MTnode(parent)
{
}

MTlistNode::~MTlistNode()
{
    qDeleteAll(nodes);
}

const QSet<QString>& MTlistNode::limitOperators()
{
    static const QSet<QString> names = {
        QStringLiteral("sum"), QStringLiteral("prod"), QStringLiteral("coprod"), QStringLiteral("bigcap"),
        QStringLiteral("bigcup"), QStringLiteral("bigvee"), QStringLiteral("bighat"), QStringLiteral("int"),
        QStringLiteral("iint"), QStringLiteral("iiint"), QStringLiteral("oint"), QStringLiteral("oiint"),
        QStringLiteral("oiiint"), QStringLiteral("max"), QStringLiteral("min"), QStringLiteral("argmax"),
        QStringLiteral("argmin"), QStringLiteral("sup"), QStringLiteral("inf"), QStringLiteral("liminf"),
        QStringLiteral("limsup"), QStringLiteral("lim")};
    return names;
}

void MTlistNode::addNode(MTnode* node)
{
    if (node)
        nodes.append(node);
}

void MTlistNode::layout(QPainter& painter, const MTstyle& env, Layout& l, double x, double y, bool paint)
{
    const QFont font = env.getFont(parent);
    const double xHeight = parent->xHeight(font, painter.device());
    const double space = parent->textAdvance(font, QStringLiteral(" "), painter.device());
    const double superShift = parent->getSuperShiftFactor();
    l.x = x;

    for (int i = 0; i < nodes.size(); ++i) {
        MTnode* node = nodes.at(i);
        const bool afterBrace = nodeAt<MTbraceNode>(nodes, i - 1) != nullptr;
        auto* symbol = dynamic_cast<MTsymbolNode*>(node);
        auto* lower = nodeAt<MTsubscriptNode>(nodes, i + 1);

        if (symbol && lower && limitOperators().contains(symbol->getSymbolName())) {
            // Limits: set in a smaller size, stacked under and over the operator.
            auto* upper = nodeAt<MTsuperscriptNode>(nodes, i + 2);
            const MTstyle limitEnv = MTlayout::scaled(env, parent->getOperatorsubsuperSizeFactor());
            const Box op = measure(painter, symbol, env);
            MTnode* lowerChild = indexChild(lower);
            MTnode* upperChild = upper ? indexChild(upper) : nullptr;
            const Box low = lowerChild ? measure(painter, lowerChild, limitEnv) : Box();
            const Box up = upperChild ? measure(painter, upperChild, limitEnv) : Box();
            const double maxW = std::max({op.width, low.width, up.width});
            // Clear space between the limits and the operator, after TeX's
            // rules for display limits (an x-height is about 0.45 em): at
            // least 0.11 em above and 0.17 em below the ink, and the upper
            // limit's baseline at least 0.2 em above the operator, the lower
            // one's at least 0.6 em below it, so that short limits such as
            // "n" or "0" do not sit on the operator either.
            const double upperGap = upper ? std::max(0.25 * xHeight, 0.45 * xHeight - up.depth()) : 0;
            const double lowerGap = std::max(0.37 * xHeight, 1.33 * xHeight - low.baseline);
            // The stack counts as one box: the operator's baseline, or the
            // upper limit's top, above; the lower limit below.
            Box stack;
            stack.baseline = upper ? up.overall + upperGap + op.baseline : op.baseline;
            stack.overall = stack.baseline + op.depth() + lowerGap + low.overall;
            stack.strikeout = op.strikeout;
            l.addOrdinary(stack);
            if (paint) {
                symbol->draw(painter, MTlayout::centred(l.x, maxW, op.width), y, env);
                if (lowerChild)
                    lowerChild->draw(painter, MTlayout::centred(l.x, maxW, low.width),
                                     y + op.depth() + lowerGap + low.baseline, limitEnv);
                if (upperChild)
                    upperChild->draw(painter, MTlayout::centred(l.x, maxW, up.width),
                                     y - op.baseline - up.depth() - upperGap, limitEnv);
            }
            l.x += maxW + space;
            l.width += maxW + space;
            i += upper ? 2 : 1;
            continue;
        }

        auto* super = dynamic_cast<MTsuperscriptNode*>(node);
        auto* sub = dynamic_cast<MTsubscriptNode*>(node);
        if (!super && !sub) {
            const Box box = measure(painter, node, env);
            l.addOrdinary(box);
            l.width += box.width;
            l.x = paint ? node->draw(painter, l.x, y, env) : l.x + box.width;
            continue;
        }

        // An index, possibly paired with an index of the other kind right after it.
        if (!super)
            super = nodeAt<MTsuperscriptNode>(nodes, i + 1);
        else
            sub = nodeAt<MTsubscriptNode>(nodes, i + 1);
        double end = l.x;
        double pairWidth = 0;
        if (super) {
            const Box box = measure(painter, super, env);
            const double raise = afterBrace
                ? l.baseline - superShift * parent->tightBounds(font, QStringLiteral("M"), painter.device()).height()
                      + box.depth()
                : superShift * xHeight + box.depth();
            const double top = raise + box.baseline;
            if (top > l.baseline) {
                l.overall += top - l.baseline;
                l.baseline = top;
            }
            // Raised by more than its own depth, an index reaches no lower
            // than the baseline: it adds nothing below (adding its raise
            // there pushed a blank band under "x^2" and lifted nested
            // indices ever higher).
            l.overall = std::max(l.overall, l.baseline + box.depth() - raise);
            pairWidth = box.width;
            end = paint ? std::max(end, super->draw(painter, l.x, y - raise, env)) : l.x + box.width;
        }
        if (sub) {
            const Box box = measure(painter, sub, env);
            l.overall = std::max(l.overall, l.baseline + box.depth());
            pairWidth = super ? std::max(pairWidth, box.width + space) : box.width;
            const double subEnd = paint ? sub->draw(painter, l.x, y, env) : l.x + box.width;
            end = std::max(end, subEnd);
        }
        l.width += pairWidth;
        l.x = paint ? end : l.x + pairWidth;
        if (super && sub)
            ++i;
    }
}

void MTlistNode::computeSize(QPainter& painter, MTstyle env, double& width, double& baselineHeight,
                             double& overallHeight, double& strikeoutPos)
{
    Layout l;
    layout(painter, env, l, 0, 0, false);
    width = l.width;
    baselineHeight = l.baseline;
    overallHeight = l.overall;
    strikeoutPos = l.strikeout;
}

double MTlistNode::draw(QPainter& painter, double x, double y, MTstyle env)
{
    drawDebugBoxes(painter, x, y, env);
    Layout l;
    layout(painter, env, l, x, y, true);
    return l.x;
}

bool MTlistNode::toHtml(QString& html, MTstyle currentEv, MTstyle defaultEv)
{
    for (MTnode* node : qAsConst(nodes)) {
        if (!node->toHtml(html, currentEv, defaultEv))
            return false;
    }
    return true;
}

void MTlistNode::setDebugBoxes(bool debug)
{
    MTnode::setDebugBoxes(debug);
    for (MTnode* node : qAsConst(nodes))
        node->setDebugBoxes(debug);
}

QString MTlistNode::typeName() const
{
    return QStringLiteral("MTlistNode");
}
