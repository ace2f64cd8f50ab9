#ifndef MTMATRIXNODE_H
#define MTMATRIXNODE_H

#include "math/MTnode.h"

#include <QVector>

// Cells in rows and columns, left-aligned, centred on the math axis.
class MTmatrixNode : public MTnode
{
public:
    // Takes ownership of every cell; rows may have different lengths.
    MTmatrixNode(VelQTmathText* parent, QVector<QVector<MTnode*>> children);
    ~MTmatrixNode() override;

    void computeSize(QPainter& painter, MTstyle env, double& width, double& baselineHeight,
                     double& overallHeight, double& strikeoutPos) override;
    double draw(QPainter& painter, double x, double y, MTstyle env) override;
    void setDebugBoxes(bool debug) override;
    QString typeName() const override;

    QVector<QVector<MTnode*>> getChildren() const { return children; }
    int getColumns() const { return columns; }
    int getLines() const { return lines; }

private:
    struct Grid;
    void measureGrid(QPainter& painter, const MTstyle& env, Grid& grid);

    QVector<QVector<MTnode*>> children;
    int columns = 0;
    int lines = 0;
};

#endif // MTMATRIXNODE_H
