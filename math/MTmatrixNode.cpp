#include "math/MTmatrixNode.h"

#include "math/MTlayout.h"
#include "math/VelQTmathText.h"

#include <QPainter>

namespace {

// TeX's arrays: 5 pt of \arraycolsep on each side of a column (1 em between
// two), rows 12 pt apart (\baselineskip) with a strut of 70 % above the
// baseline and 30 % below, for a 10 pt font.
constexpr double columnGapEm = 1.0;
constexpr double strutAscentEm = 0.84, strutDepthEm = 0.36;

} // namespace

// Column widths and row heights of one measurement.
struct MTmatrixNode::Grid
{
    QVector<double> colWidth, rowAscent, rowDepth;
    MTstyle cells; // the cells' environment
    double gap = 0; // between columns
    double axis = 0;
    double width = 0, overallHeight = 0;
};

MTmatrixNode::MTmatrixNode(VelQTmathText* parent, QVector<QVector<MTnode*>> children)
    : MTnode(parent)
    , children(children)
    , lines(children.size())
{
    for (const QVector<MTnode*>& row : qAsConst(this->children))
        columns = std::max(columns, row.size());
}

MTmatrixNode::~MTmatrixNode()
{
    for (const QVector<MTnode*>& row : qAsConst(children))
        qDeleteAll(row);
}

void MTmatrixNode::measureGrid(QPainter& painter, const MTstyle& env, Grid& g)
{
    // Each cell is a formula of its own, in text style as in TeX's arrays.
    g.cells = env.mathStyle == MathDisplay ? env.inMathStyle(MathText, env.cramped, parent) : env;
    const double em = MTlayout::em(parent, painter, g.cells);
    g.gap = columnGapEm * em;
    g.axis = MTlayout::axisHeight(parent, painter, env);
    g.colWidth.fill(0, columns);
    g.rowAscent.fill(strutAscentEm * em, lines);
    g.rowDepth.fill(strutDepthEm * em, lines);
    for (int r = 0; r < lines; ++r) {
        const QVector<MTnode*>& row = children.at(r);
        for (int c = 0; c < row.size(); ++c) {
            if (!row.at(c))
                continue;
            double w = 0, b = 0, h = 0, s = 0;
            row.at(c)->getSize(painter, g.cells, w, b, h, s);
            g.colWidth[c] = std::max(g.colWidth[c], w);
            g.rowAscent[r] = std::max(g.rowAscent[r], b);
            g.rowDepth[r] = std::max(g.rowDepth[r], h - b);
        }
    }
    g.overallHeight = 0;
    for (int r = 0; r < lines; ++r)
        g.overallHeight += g.rowAscent[r] + g.rowDepth[r];
    g.width = std::max(0, columns - 1) * g.gap;
    for (double w : qAsConst(g.colWidth))
        g.width += w;
}

double MTmatrixNode::cellX(int c, double x, double columnWidth, double w) const
{
    switch (columnAlignment) {
    case AlignCentre:
        return MTlayout::centred(x, columnWidth, w);
    case AlignLeft:
        return x;
    case AlignRightLeft:
        return c % 2 == 0 ? x + columnWidth - w : x;
    }
    return x;
}

void MTmatrixNode::computeSize(QPainter& painter, MTstyle env, double& width, double& baselineHeight,
                               double& overallHeight, double& strikeoutPos)
{
    Grid g;
    measureGrid(painter, env, g);
    width = g.width;
    overallHeight = g.overallHeight;
    // Centred on the math axis.
    baselineHeight = g.overallHeight * 0.5 + g.axis;
    strikeoutPos = g.axis;
}

void MTmatrixNode::inkExtent(QPainter& painter, const MTstyle& env, double& left, double& right)
{
    Grid g;
    measureGrid(painter, env, g);
    MTlayout::InkSpan ink;
    for (const QVector<MTnode*>& row : qAsConst(children)) {
        double column = 0;
        for (int c = 0; c < row.size(); ++c) {
            if (MTnode* cell = row.at(c)) {
                double w = 0, b = 0, h = 0, s = 0;
                cell->getSize(painter, g.cells, w, b, h, s);
                ink.add(painter, cell, g.cells, cellX(c, column, g.colWidth[c], w));
            }
            column += g.colWidth[c] + g.gap;
        }
    }
    left = ink.left;
    right = ink.right;
}

double MTmatrixNode::draw(QPainter& painter, double x, double y, MTstyle env)
{
    drawDebugBoxes(painter, x, y, env);
    Grid g;
    measureGrid(painter, env, g);
    double baseline = y - (g.overallHeight * 0.5 + g.axis);
    for (int r = 0; r < lines; ++r) {
        baseline += g.rowAscent[r];
        const QVector<MTnode*>& row = children.at(r);
        double column = x;
        for (int c = 0; c < row.size(); ++c) {
            if (MTnode* cell = row.at(c)) {
                double w = 0, b = 0, h = 0, s = 0;
                cell->getSize(painter, g.cells, w, b, h, s);
                cell->draw(painter, cellX(c, column, g.colWidth[c], w), baseline, g.cells);
            }
            column += g.colWidth[c] + g.gap;
        }
        baseline += g.rowDepth[r];
    }
    return x + g.width;
}

void MTmatrixNode::setDebugBoxes(bool debug)
{
    MTnode::setDebugBoxes(debug);
    for (const QVector<MTnode*>& row : qAsConst(children)) {
        for (MTnode* cell : row) {
            if (cell)
                cell->setDebugBoxes(debug);
        }
    }
}

QString MTmatrixNode::typeName() const
{
    return QStringLiteral("MTmatrixNode");
}
