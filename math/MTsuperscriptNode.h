#ifndef MTSUPERSCRIPTNODE_H
#define MTSUPERSCRIPTNODE_H

#include "math/MTnode.h"

// An upper index: the child in superscript style. The list that holds it
// raises it beside the node before it.
class MTsuperscriptNode : public MTnode
{
public:
    MTsuperscriptNode(VelQTmathText* parent, MTnode* child);
    ~MTsuperscriptNode() override;

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

#endif // MTSUPERSCRIPTNODE_H
