#ifndef MTLISTNODE_H
#define MTLISTNODE_H

#include "math/MTnode.h"

#include <QList>

class MTsymbolNode;

// TeX's math list: children side by side on one baseline, set apart by the
// spaces between their atoms (in math). Indices are attached here to the
// node before them, as scripts beside it or, for operators, as limits
// under and over it.
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
    void inkExtent(QPainter& painter, const MTstyle& env, double& left, double& right) override;

    // Takes ownership; a null node is ignored. Tells the node and the atom
    // before it their neighbours.
    void addNode(MTnode* node);
    QList<MTnode*> getNodes() const { return nodes; }

private:
    struct Box;
    struct Layout;
    struct Scripts;
    static Box measure(QPainter& painter, MTnode* node, const MTstyle& env);
    void layout(QPainter& painter, const MTstyle& env, Layout& result, double x, double y, bool paint);
    // The node at i with the indices right after it; returns how many
    // nodes it took.
    int placeNucleus(QPainter& painter, const MTstyle& env, Layout& l, int i, double y, bool paint);
    void placeScripts(QPainter& painter, const MTstyle& env, Layout& l, MTnode* nucleus, const Scripts& scripts,
                      double y, bool paint);
    // Adds node's box, placed at x with its baseline `raise` above y, and
    // draws it when painting.
    void put(QPainter& painter, const MTstyle& env, Layout& l, MTnode* node, const Box& box, double x,
             double y, double raise, bool paint);
    void placeLimits(QPainter& painter, const MTstyle& env, Layout& l, MTsymbolNode* op, const Scripts& scripts,
                     double y, bool paint);

    QList<MTnode*> nodes;
    // The last node that is an atom, and the class of the atom before it.
    MTnode* lastAtomNode = nullptr;
    MTatomClass lastAtomBefore = AtomNone;
};

#endif // MTLISTNODE_H
