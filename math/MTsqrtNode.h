#ifndef MTSQRTNODE_H
#define MTSQRTNODE_H

#include "math/MTnode.h"

// A root sign over its child, in the cramped style (TeX's rule 11); a degree
// other than 2 is drawn in the corner.
class MTsqrtNode : public MTnode
{
public:
    MTsqrtNode(VelQTmathText* parent, MTnode* child, int degree = 2);
    ~MTsqrtNode() override;

    void computeSize(QPainter& painter, MTstyle env, double& width, double& baselineHeight,
                     double& overallHeight, double& strikeoutPos) override;
    double draw(QPainter& painter, double x, double y, MTstyle env) override;
    bool toHtml(QString& html, MTstyle currentEv, MTstyle defaultEv) override;
    void setDebugBoxes(bool debug) override;
    QString typeName() const override;
    void inkExtent(QPainter& painter, const MTstyle& env, double& left, double& right) override;

    MTnode* getChild() const { return child; }
    int getDegree() const { return degree; }

private:
    struct Parts;
    void measureParts(QPainter& painter, const MTstyle& env, Parts& parts);

    MTnode* child;
    int degree;
};

#endif // MTSQRTNODE_H
