#include "math/MTmatrixNode.h"

#include "math/MTlayout.h"
#include "math/VelQTmathText.h"

#include <QPainter>

// Column widths and row heights of one measurement.
struct MTmatrixNode::Grid
{
    QVector<double> colWidth, rowHeight, rowBaseline;
    double gap = 0;       // the width of an "x": between columns, half of it between rows
    double strikeout = 0;
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
    const QFont font = env.getFont(parent);
    g.gap = parent->textBounds(font, QStringLiteral("x"), painter.device()).width();
    g.strikeout = parent->strikeOutPos(font, painter.device());
    g.colWidth.fill(0, columns);
    g.rowHeight.fill(0, lines);
    g.rowBaseline.fill(0, lines);
    for (int r = 0; r < lines; ++r) {
        const QVector<MTnode*>& row = children.at(r);
        for (int c = 0; c < row.size(); ++c) {
            if (!row.at(c))
                continue;
            double w = 0, b = 0, h = 0, s = 0;
            row.at(c)->getSize(painter, env, w, b, h, s);
            g.colWidth[c] = std::max(g.colWidth[c], w);
            g.rowHeight[r] = std::max(g.rowHeight[r], h);
            g.rowBaseline[r] = std::max(g.rowBaseline[r], b);
        }
    }
    g.overallHeight = std::max(0, lines - 1) * g.gap * 0.5;
    for (double h : qAsConst(g.rowHeight))
        g.overallHeight += h;
    g.width = columns * g.gap;
    for (double w : qAsConst(g.colWidth))
        g.width += w;
}

void MTmatrixNode::computeSize(QPainter& painter, MTstyle env, double& width, double& baselineHeight,
                               double& overallHeight, double& strikeoutPos)
{
    Grid g;
    measureGrid(painter, env, g);
    width = g.width;
    overallHeight = g.overallHeight;
    // Centred on the strike-out line, which is the math axis.
    baselineHeight = g.overallHeight * 0.5 + g.strikeout;
    strikeoutPos = g.strikeout;
}

double MTmatrixNode::draw(QPainter& painter, double x, double y, MTstyle env)
{
    drawDebugBoxes(painter, x, y, env);
    Grid g;
    measureGrid(painter, env, g);
    double baseline = y - (g.overallHeight * 0.5 + g.strikeout);
    for (int r = 0; r < lines; ++r) {
        baseline += g.rowBaseline[r];
        const QVector<MTnode*>& row = children.at(r);
        // Half the column gap before the first column and after the last,
        // so that the cells sit centred between surrounding brackets.
        double cellX = x + g.gap * 0.5;
        for (int c = 0; c < row.size(); ++c) {
            if (row.at(c))
                row.at(c)->draw(painter, cellX, baseline, env);
            cellX += g.colWidth[c] + g.gap;
        }
        baseline += g.rowHeight[r] - g.rowBaseline[r] + g.gap * 0.5;
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
