#ifndef MTMATRIXNODE_H
#define MTMATRIXNODE_H

#include "math/MTnode.h"

#include <QVector>

// Cells in rows and columns as TeX's arrays set them: each cell a formula
// in text style, rows a baseline skip apart at least, columns an em apart;
// the whole centred on the math axis.
class MTmatrixNode : public MTnode
{
public:
    // How cells lie in their columns: centred (matrices), on the left
    // (cases), or alternately right and left (aligned equations).
    enum Alignment { AlignCentre, AlignLeft, AlignRightLeft };

    // Takes ownership of every cell; rows may have different lengths.
    MTmatrixNode(VelQTmathText* parent, QVector<QVector<MTnode*>> children);
    ~MTmatrixNode() override;

    Alignment alignment() const { return columnAlignment; }
    void setAlignment(Alignment value) { columnAlignment = value; }

    void computeSize(QPainter& painter, MTstyle env, double& width, double& baselineHeight,
                     double& overallHeight, double& strikeoutPos) override;
    double draw(QPainter& painter, double x, double y, MTstyle env) override;
    void setDebugBoxes(bool debug) override;
    QString typeName() const override;
    void inkExtent(QPainter& painter, const MTstyle& env, double& left, double& right) override;

    QVector<QVector<MTnode*>> getChildren() const { return children; }
    int getColumns() const { return columns; }
    int getLines() const { return lines; }

private:
    struct Grid;
    void measureGrid(QPainter& painter, const MTstyle& env, Grid& grid);
    // Where a cell of width w starts in column c, which starts at x.
    double cellX(int c, double x, double columnWidth, double w) const;

    QVector<QVector<MTnode*>> children;
    int columns = 0;
    int lines = 0;
    Alignment columnAlignment = AlignCentre;
};

#endif // MTMATRIXNODE_H
