#ifndef MTNODE_H
#define MTNODE_H

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

    // computeSize() on a copy of env; an output of 100000 or more (or NaN)
    // leaves the caller's value untouched.
    void getSize(QPainter& painter, MTstyle env, double& width, double& baselineHeight,
                 double& overallHeight, double& strikeoutPos);

    VelQTmathText* getParent() const { return parent; }

protected:
    // The lightcoral box, baseline and origin marks of a debug drawing.
    void drawDebugBoxes(QPainter& painter, double x, double y, const MTstyle& env);

    VelQTmathText* parent;
    bool debugBoxes = false;

private:
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
