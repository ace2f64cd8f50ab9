#ifndef MTDECORATEDNODE_H
#define MTDECORATEDNODE_H

#include "math/MTnode.h"

// The numbering and the names are part of the engine's interface.
enum MTaccent {
    AccentVec = 0,
    AccentHat = 1,
    AccentDot = 2,
    AccentDdot = 3,
    AccentBar = 4,
    AccentArrow = 5,
    AccentOverline = 6,
    AccentDoubleOverline = 7,
    AccentUnderline = 8,
    AccentDoubleUnderline = 9,
    AccentTilde = 10
};

// "vec", "hat", ...; "unknown" for any other value.
QString accentName(MTaccent accent);

// An accent or a line over or under its child.
class MTdecoratedNode : public MTnode
{
public:
    MTdecoratedNode(VelQTmathText* parent, MTaccent decoration, MTnode* child);
    ~MTdecoratedNode() override;

    void computeSize(QPainter& painter, MTstyle env, double& width, double& baselineHeight,
                     double& overallHeight, double& strikeoutPos) override;
    double draw(QPainter& painter, double x, double y, MTstyle env) override;
    void setDebugBoxes(bool debug) override;
    QString typeName() const override;
    void inkExtent(QPainter& painter, const MTstyle& env, double& left, double& right) override;

    MTnode* getChild() const { return child; }
    MTaccent getDecoration() const { return decoration; }

private:
    struct Parts;
    void measureParts(QPainter& painter, const MTstyle& env, Parts& parts);

    MTnode* child;
    MTaccent decoration;
};

#endif // MTDECORATEDNODE_H
