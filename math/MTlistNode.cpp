#include "math/MTlistNode.h"

#include "math/MTinstruction1Node.h"
#include "math/MTlayout.h"
#include "math/MTsubscriptNode.h"
#include "math/MTsuperscriptNode.h"
#include "math/MTsymbolNode.h"
#include "math/MTtexParameters.h"
#include "math/VelQTmathText.h"

#include <QPainter>

struct MTlistNode::Box
{
    double width = 0, baseline = 0, overall = 0, strikeout = 0;
    double depth() const { return overall - baseline; }
};

MTlistNode::Box MTlistNode::measure(QPainter& painter, MTnode* node, const MTstyle& env)
{
    Box box;
    if (node)
        node->getSize(painter, env, box.width, box.baseline, box.overall, box.strikeout);
    return box;
}

namespace {

template<class T>
T* nodeAt(const QList<MTnode*>& nodes, int i)
{
    return i >= 0 && i < nodes.size() ? dynamic_cast<T*>(nodes.at(i)) : nullptr;
}

} // namespace

// The running state of one walk over the children.
struct MTlistNode::Layout
{
    double x = 0;     // where the next child starts
    double start = 0; // where the list starts
    double ascent = 0, depth = 0;
    double strikeout = 0;
    MTnode* previousAtom = nullptr;
    // Where the ink reaches, when asked for.
    bool trackInk = false;
    MTlayout::InkSpan ink;

    // A box whose baseline lies `raise` above the list's.
    void add(const Box& box, double raise = 0)
    {
        if (box.baseline + raise > ascent) {
            ascent = box.baseline + raise;
            strikeout = box.strikeout;
        }
        depth = std::max(depth, box.depth() - raise);
    }
};

// The indices that follow a nucleus: a superscript, a subscript, or both
// in either order.
struct MTlistNode::Scripts
{
    MTsuperscriptNode* super = nullptr;
    MTsubscriptNode* sub = nullptr;
    int count() const { return (super ? 1 : 0) + (sub ? 1 : 0); }
};

MTlistNode::MTlistNode(VelQTmathText* parent)
    : MTnode(parent)
{
}

MTlistNode::~MTlistNode()
{
    qDeleteAll(nodes);
}

void MTlistNode::addNode(MTnode* node)
{
    if (!node)
        return;
    nodes.append(node);
    if (node->isIndexNode() || node->firstAtom() == AtomNone)
        return;
    // TeX's rules for binary operators look at both neighbours: the atom
    // before learns what follows it, then tells the new one what precedes.
    MTatomClass before = AtomNone;
    if (lastAtomNode) {
        lastAtomNode->setAtomNeighbours(lastAtomBefore, node->firstAtom());
        before = lastAtomNode->resolvedLastAtom();
    }
    node->setAtomNeighbours(before, AtomNone);
    lastAtomNode = node;
    lastAtomBefore = before;
}

void MTlistNode::layout(QPainter& painter, const MTstyle& env, Layout& l, double x, double y, bool paint)
{
    l.x = l.start = x;
    MTstyle current = env;
    double mu = MTlayout::mu(parent, painter, current);
    for (int i = 0; i < nodes.size();) {
        MTnode* node = nodes.at(i);
        const bool index = node->isIndexNode();
        const MTatomClass atom = index ? AtomNone : node->firstAtom();
        if (atom == AtomNone && !index) {
            auto* instruction = dynamic_cast<MTinstruction1Node*>(node);
            if (instruction && !instruction->getChild()) {
                current = instruction->childStyle(current); // a style switch
                mu = MTlayout::mu(parent, painter, current);
                ++i;
                continue;
            }
        }
        if (atom != AtomNone) {
            if (l.previousAtom && current.insideMath) {
                l.x += MTatom::spaceBetween(l.previousAtom->resolvedLastAtom(), node->resolvedFirstAtom(),
                                            current.isScriptStyle())
                    * mu;
            }
            l.previousAtom = node;
        }
        i += placeNucleus(painter, current, l, i, y, paint);
    }
}

int MTlistNode::placeNucleus(QPainter& painter, const MTstyle& env, Layout& l, int i, double y, bool paint)
{
    MTnode* node = nodes.at(i);
    // An index with nothing before it has an empty nucleus, as in TeX.
    MTnode* nucleus = node->isIndexNode() ? nullptr : node;
    Scripts scripts;
    for (int j = nucleus ? i + 1 : i; j < nodes.size() && scripts.count() < 2 && nodes.at(j)->isIndexNode(); ++j) {
        auto* super = nodeAt<MTsuperscriptNode>(nodes, j);
        auto* sub = nodeAt<MTsubscriptNode>(nodes, j);
        if ((super && !scripts.super) || (sub && !scripts.sub)) {
            scripts.super = super ? super : scripts.super;
            scripts.sub = sub ? sub : scripts.sub;
        } else {
            break;
        }
    }
    auto* op = scripts.count() > 0 && node->firstAtom() == AtomOp ? dynamic_cast<MTsymbolNode*>(nucleus) : nullptr;
    if (op && op->hasLimits(env))
        placeLimits(painter, env, l, op, scripts, y, paint);
    else if (scripts.count() > 0)
        placeScripts(painter, env, l, nucleus, scripts, y, paint);
    else {
        const Box box = measure(painter, node, env);
        put(painter, env, l, node, box, l.x, y, 0, paint);
        l.x += box.width;
    }
    return (nucleus ? 1 : 0) + scripts.count();
}

void MTlistNode::put(QPainter& painter, const MTstyle& env, Layout& l, MTnode* node, const Box& box, double x, double y,
                     double raise, bool paint)
{
    if (!node)
        return;
    l.add(box, raise);
    if (l.trackInk)
        l.ink.add(painter, node, env, x);
    if (paint)
        node->draw(painter, x, y - raise, env);
}

// TeX's rule 18 (The TeXbook, Appendix G).
void MTlistNode::placeScripts(QPainter& painter, const MTstyle& env, Layout& l, MTnode* nucleus,
                              const Scripts& scripts, double y, bool paint)
{
    const Box base = measure(painter, nucleus, env);
    put(painter, env, l, nucleus, base, l.x, y, 0, paint);
    const double italic = nucleus ? nucleus->italicCorrection(painter, env) : 0;
    const double end = l.x + base.width;

    const double em = MTlayout::em(parent, painter, env);
    const double xHeight = parent->xHeight(env.getFont(parent), painter.device());
    const double theta = MTtex::defaultRuleThickness * em;
    const Box sup = measure(painter, scripts.super, env);
    const Box sub = measure(painter, scripts.sub, env);
    // Indices of a character start at the baseline; those of a box hang
    // from its corners.
    double u = 0, v = 0;
    if (nucleus && !nucleus->isCharacter()) {
        u = base.baseline - MTtex::supDrop * MTlayout::em(parent, painter, env.superscriptStyle(parent));
        v = base.depth() + MTtex::subDrop * MTlayout::em(parent, painter, env.subscriptStyle(parent));
    }
    if (scripts.super) {
        const double shift = env.cramped ? MTtex::sup3 : env.mathStyle == MathDisplay ? MTtex::sup1 : MTtex::sup2;
        u = std::max({u, shift * em, sup.depth() + xHeight / 4});
    }
    if (scripts.sub && !scripts.super)
        v = std::max({v, MTtex::sub1 * em, sub.baseline - xHeight * 4 / 5});
    if (scripts.sub && scripts.super) {
        v = std::max(v, MTtex::sub2 * em);
        // At least four rule thicknesses between the two, the superscript's
        // bottom at least four fifths of an x-height up.
        if ((u - sup.depth()) - (sub.baseline - v) < 4 * theta) {
            v = 4 * theta - (u - sup.depth()) + sub.baseline;
            const double psi = xHeight * 4 / 5 - (u - sup.depth());
            if (psi > 0) {
                u += psi;
                v -= psi;
            }
        }
    }

    double right = end;
    if (scripts.super) {
        put(painter, env, l, scripts.super, sup, end, y, u, paint);
        right = std::max(right, end + sup.width);
    }
    if (scripts.sub) {
        // A subscript tucks under a leaning glyph.
        put(painter, env, l, scripts.sub, sub, end - italic, y, -v, paint);
        right = std::max(right, end - italic + sub.width);
    }
    l.x = right + MTtex::scriptSpace * em;
}

// TeX's rule 13a: limits centred under and over the operator.
void MTlistNode::placeLimits(QPainter& painter, const MTstyle& env, Layout& l, MTsymbolNode* op,
                             const Scripts& scripts, double y, bool paint)
{
    const Box base = measure(painter, op, env);
    const Box sup = measure(painter, scripts.super, env);
    const Box sub = measure(painter, scripts.sub, env);
    const double em = MTlayout::em(parent, painter, env);
    const double width = std::max({base.width, sup.width, sub.width});
    const double upper = base.baseline + std::max(MTtex::bigOpSpacing1 * em, MTtex::bigOpSpacing3 * em - sup.depth())
        + sup.depth();
    const double lower = base.depth() + std::max(MTtex::bigOpSpacing2 * em, MTtex::bigOpSpacing4 * em - sub.baseline)
        + sub.baseline;
    put(painter, env, l, op, base, MTlayout::centred(l.x, width, base.width), y, 0, paint);
    put(painter, env, l, scripts.super, sup, MTlayout::centred(l.x, width, sup.width), y, upper, paint);
    put(painter, env, l, scripts.sub, sub, MTlayout::centred(l.x, width, sub.width), y, -lower, paint);
    l.x += width;
}

void MTlistNode::computeSize(QPainter& painter, MTstyle env, double& width, double& baselineHeight,
                             double& overallHeight, double& strikeoutPos)
{
    Layout l;
    layout(painter, env, l, 0, 0, false);
    width = l.x - l.start;
    baselineHeight = l.ascent;
    overallHeight = l.ascent + l.depth;
    strikeoutPos = l.strikeout;
}

void MTlistNode::inkExtent(QPainter& painter, const MTstyle& env, double& left, double& right)
{
    Layout l;
    l.trackInk = true;
    layout(painter, env, l, 0, 0, false);
    left = l.ink.left;
    right = l.ink.right;
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
