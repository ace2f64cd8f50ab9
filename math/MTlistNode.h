#ifndef MTLISTNODE_H
#define MTLISTNODE_H

#include "math/MTnode.h"

#include <QList>
#include <QSet>

class MTsymbolNode;

// Children laid out side by side on one baseline. Indices are raised or
// lowered here, and the indices of big operators become stacked limits.
class MTlistNode : public MTnode
{
public:
    explicit MTlistNode(VelQTmathText* parent);
    ~MTlistNode() override;

    void computeSize(QPainter& painter, MTstyle env, double& width, double& baselineHeight,
                     double& overallHeight, double& strikeoutPos) override;
    double draw(QPainter& painter, double x, double y, MTstyle env) override;
    bool toHtml(QString& html, MTstyle currentEv, MTstyle defaultEv) override;
    void setDebugBoxes(bool debug) override;
    QString typeName() const override;

    // Takes ownership; a null node is ignored.
    void addNode(MTnode* node);
    QList<MTnode*> getNodes() const { return nodes; }

    // Operators whose indices are set as limits below and above them.
    static const QSet<QString>& limitOperators();

private:
    struct Layout;
    void layout(QPainter& painter, const MTstyle& env, Layout& result, double x, double y, bool paint);

    QList<MTnode*> nodes;
};

#endif // MTLISTNODE_H
