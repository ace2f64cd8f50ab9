#ifndef MTNODE_H
#define MTNODE_H

#include "math/MTatom.h"
#include "math/MTstyle.h"

#include <QString>

#include <memory>

class QPainter;
class VelQTmathText;

// One box of a typeset formula. A node measures and draws itself with its
// baseline's left end at a given point, in the environment handed down.
// Nodes own their children; the engine (`parent`) is not owned.
class MTnode
{
public:
    explicit MTnode(VelQTmathText* parent);
    virtual ~MTnode();
    MTnode(const MTnode&) = delete;
    MTnode& operator=(const MTnode&) = delete;

    // Width, height above the baseline, total height, strike-out position.
    // Layout code calls getSize(), which filters absurd values.
    virtual void computeSize(QPainter& painter, MTstyle env, double& width, double& baselineHeight,
                             double& overallHeight, double& strikeoutPos) = 0;
    // Draws at (x, y) and returns the x where the next node starts.
    virtual double draw(QPainter& painter, double x, double y, MTstyle env) = 0;
    virtual bool isIndexNode() const;
    // Appends the HTML form; false when HTML cannot express the node.
    virtual bool toHtml(QString& html, MTstyle currentEv, MTstyle defaultEv);
    virtual bool getDebugBoxes() const;
    virtual void setDebugBoxes(bool debug);
    virtual QString typeName() const = 0;

    // TeX's class of the node's first and of its last atom as read (a run
    // of math text holds several atoms); AtomNone for what takes no part
    // in the spacing between atoms (spaces, indices). A group is ordinary.
    virtual MTatomClass firstAtom() const;
    virtual MTatomClass lastAtom() const;
    // Called by the list that holds the node, as it grows: the resolved
    // class of the atom before the node and the class of the atom after
    // it (AtomNone at the list's ends). The resolved classes follow.
    virtual void setAtomNeighbours(MTatomClass before, MTatomClass after);
    // The first and last atom's class after TeX's rules for binary
    // operators (MTatom::resolved()); as read until the list sets them.
    MTatomClass resolvedFirstAtom() const { return resolvedFirst; }
    MTatomClass resolvedLastAtom() const { return resolvedLast; }
    // A character (not a box) as the nucleus of indices: TeX then raises
    // and lowers them by the style's shifts only, not by the nucleus' size.
    virtual bool isCharacter() const;
    // How far the ink of a slanted last glyph leans beyond the node's
    // advance; a superscript moves right by it, a subscript does not.
    virtual double italicCorrection(QPainter& painter, const MTstyle& env);
    // Where the node's ink starts and ends across, from the start of its
    // box (the picture of a formula holds its ink, not its boxes); left >
    // right when it has none. By default the whole box.
    virtual void inkExtent(QPainter& painter, const MTstyle& env, double& left, double& right);

    // computeSize() on a copy of env; an output of 100000 or more (or NaN)
    // leaves the caller's value untouched.
    void getSize(QPainter& painter, MTstyle env, double& width, double& baselineHeight,
                 double& overallHeight, double& strikeoutPos);

    VelQTmathText* getParent() const { return parent; }

protected:
    // The lightcoral box, baseline and origin marks of a debug drawing.
    void drawDebugBoxes(QPainter& painter, double x, double y, const MTstyle& env);

    void setResolvedAtoms(MTatomClass first, MTatomClass last)
    {
        resolvedFirst = first;
        resolvedLast = last;
    }

    VelQTmathText* parent;
    bool debugBoxes = false;

private:
    MTatomClass resolvedFirst = AtomOrd;
    MTatomClass resolvedLast = AtomOrd;

    // The last size computed, valid while the engine's settings, the device
    // resolution and the environment stay the same: drawing measures every
    // node again, which would cost quadratic time in the depth. Made at the
    // first measuring: a tree that is only parsed stays small, and a long
    // formula's tree then fits the processor's caches.
    struct SizeCache
    {
        int generation = 0;
        int dpi = 0;
        MTstyle env;
        double width = 0, baselineHeight = 0, overallHeight = 0, strikeoutPos = 0;
    };
    std::unique_ptr<SizeCache> sizeCache;
};

#endif // MTNODE_H
