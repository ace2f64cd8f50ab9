#ifndef MTFRACNODE_H
#define MTFRACNODE_H

#include "math/MTnode.h"

// The numbering and the names are part of the engine's interface.
enum MTfractionKind {
    FractionFrac = 0,
    FractionDfrac = 1,
    FractionTfrac = 2,
    FractionUnderbrace = 3,
    FractionOverbrace = 4,
    FractionStackrel = 5,
    FractionUnderset = 6,
    FractionOverset = 7
};

// "frac", "dfrac", ...; "unknown" for any other value.
QString fractionKindName(MTfractionKind kind);

// Two children stacked: fractions and \stackrel (both parts one style down,
// TeX's rule 15), under/over braces and sets (the second part set like a
// limit of the first).
class MTfracNode : public MTnode
{
public:
    MTfracNode(VelQTmathText* parent, MTnode* child1, MTnode* child2, MTfractionKind mode);
    ~MTfracNode() override;

    void computeSize(QPainter& painter, MTstyle env, double& width, double& baselineHeight,
                     double& overallHeight, double& strikeoutPos) override;
    double draw(QPainter& painter, double x, double y, MTstyle env) override;
    void setDebugBoxes(bool debug) override;
    QString typeName() const override;
    void inkExtent(QPainter& painter, const MTstyle& env, double& left, double& right) override;
    MTatomClass firstAtom() const override;

    MTnode* getChild1() const { return child1; }
    MTnode* getChild2() const { return child2; }
    MTfractionKind getMode() const { return mode; }

    struct Parts;

private:
    // The style the node is set in: \dfrac and \tfrac choose their own.
    MTstyle fractionStyle(const MTstyle& env) const;
    void measureParts(QPainter& painter, const MTstyle& env, Parts& parts);

    MTnode* child1;
    MTnode* child2;
    MTfractionKind mode;
};

#endif // MTFRACNODE_H
