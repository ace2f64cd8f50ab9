#ifndef MTSUBSCRIPTNODE_H
#define MTSUBSCRIPTNODE_H

#include "math/MTnode.h"

// A lower index: the child in subscript style. The list that holds it
// lowers it under the node before it.
class MTsubscriptNode : public MTnode
{
public:
    MTsubscriptNode(VelQTmathText* parent, MTnode* child);
    ~MTsubscriptNode() override;

    void computeSize(QPainter& painter, MTstyle env, double& width, double& baselineHeight,
                     double& overallHeight, double& strikeoutPos) override;
    double draw(QPainter& painter, double x, double y, MTstyle env) override;
    bool isIndexNode() const override;
    MTatomClass firstAtom() const override;
    bool toHtml(QString& html, MTstyle currentEv, MTstyle defaultEv) override;
    void setDebugBoxes(bool debug) override;
    QString typeName() const override;
    void inkExtent(QPainter& painter, const MTstyle& env, double& left, double& right) override;

    MTnode* getChild() const { return child; }

private:
    MTnode* child;
};

#endif // MTSUBSCRIPTNODE_H
