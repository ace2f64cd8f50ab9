#ifndef MTINSTRUCTION1NODE_H
#define MTINSTRUCTION1NODE_H

#include "math/MTnode.h"

#include <QStringList>

// A command with one argument: changes the environment of its child
// (\mathbf, \textcolor, \equation...) or frames it (\fbox, \colorbox).
class MTinstruction1Node : public MTnode
{
public:
    // Takes ownership of child (may be null: a switch, see childStyle()).
    MTinstruction1Node(VelQTmathText* parent, QString name, MTnode* child, QStringList parameters = {});
    ~MTinstruction1Node() override;

    void computeSize(QPainter& painter, MTstyle env, double& width, double& baselineHeight,
                     double& overallHeight, double& strikeoutPos) override;
    double draw(QPainter& painter, double x, double y, MTstyle env) override;
    bool toHtml(QString& html, MTstyle currentEv, MTstyle defaultEv) override;
    void setDebugBoxes(bool debug) override;
    QString typeName() const override;
    void inkExtent(QPainter& painter, const MTstyle& env, double& left, double& right) override;
    MTatomClass firstAtom() const override;
    MTatomClass lastAtom() const override;

    QString getName() const { return name; }
    MTnode* getChild() const { return child; }
    QStringList getParameters() const { return parameters; }

    // The environment of the child: `env` changed by the command's name.
    // Without a child, the node is a switch (TeX's \displaystyle): the list
    // that holds it sets what follows in that environment.
    MTstyle childStyle(MTstyle env) const;

private:
    bool isBox() const;
    MTatomClass atomOf(bool first) const;

    QString name;
    MTnode* child;
    QStringList parameters;
};

#endif // MTINSTRUCTION1NODE_H
