#include "math/MTnode.h"

#include "math/MTlayout.h"
#include "math/VelQTmathText.h"

#include <QPaintDevice>
#include <QPainter>

#include <cmath>

namespace {

// Sizes beyond this come from absurd input; the caller keeps its own value.
constexpr double sizeLimit = 100000;

void copyIfSane(double value, double& target)
{
    if (std::isfinite(value) && value < sizeLimit && value > -sizeLimit)
        target = value;
}

} // namespace

MTnode::MTnode(VelQTmathText* parent)
    : parent(parent)
{
}

MTnode::~MTnode() = default;

bool MTnode::isIndexNode() const
{
    return false;
}

bool MTnode::toHtml(QString&, MTstyle, MTstyle)
{
    return false;
}

bool MTnode::getDebugBoxes() const
{
    return debugBoxes;
}

void MTnode::setDebugBoxes(bool debug)
{
    debugBoxes = debug;
}

MTatomClass MTnode::firstAtom() const
{
    return AtomOrd;
}

MTatomClass MTnode::lastAtom() const
{
    return firstAtom();
}

void MTnode::setAtomNeighbours(MTatomClass before, MTatomClass after)
{
    const MTatomClass first = firstAtom(), last = lastAtom();
    const QVector<MTatomClass> atoms = MTatom::resolved(first == last ? QVector<MTatomClass>{first}
                                                                      : QVector<MTatomClass>{first, last},
                                                        before, after);
    setResolvedAtoms(atoms.constFirst(), atoms.constLast());
}

bool MTnode::isCharacter() const
{
    return false;
}

double MTnode::italicCorrection(QPainter&, const MTstyle&)
{
    return 0;
}

void MTnode::inkExtent(QPainter& painter, const MTstyle& env, double& left, double& right)
{
    double width = 0, baselineHeight = 0, overallHeight = 0, strikeoutPos = 0;
    getSize(painter, env, width, baselineHeight, overallHeight, strikeoutPos);
    left = 0;
    right = width;
}

void MTnode::getSize(QPainter& painter, MTstyle env, double& width, double& baselineHeight,
                     double& overallHeight, double& strikeoutPos)
{
    const int generation = parent ? parent->settingsGeneration() : 0;
    const int dpi = painter.device() ? painter.device()->logicalDpiY() : 0;
    if (!sizeCache)
        sizeCache = std::make_unique<SizeCache>();
    SizeCache& c = *sizeCache;
    if (generation == 0 || c.generation != generation || c.dpi != dpi || c.env != env) {
        c.width = c.baselineHeight = c.overallHeight = c.strikeoutPos = 0;
        computeSize(painter, env, c.width, c.baselineHeight, c.overallHeight, c.strikeoutPos);
        c.generation = generation;
        c.dpi = dpi;
        c.env = env;
    }
    copyIfSane(c.width, width);
    copyIfSane(c.baselineHeight, baselineHeight);
    copyIfSane(c.overallHeight, overallHeight);
    copyIfSane(c.strikeoutPos, strikeoutPos);
}

void MTnode::drawDebugBoxes(QPainter& painter, double x, double y, const MTstyle& env)
{
    if (!debugBoxes)
        return;
    double width = 0, baselineHeight = 0, overallHeight = 0, strikeoutPos = 0;
    getSize(painter, env, width, baselineHeight, overallHeight, strikeoutPos);
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(MTlayout::pen(QColor("lightcoral"), 0.5));
    painter.drawRect(QRectF(x, y - baselineHeight, width, overallHeight));
    if (width > 0) {
        painter.setPen(MTlayout::pen(QColor("lightblue"), 0.5));
        painter.drawLine(QLineF(x, y, x + width, y));
    }
    painter.setPen(MTlayout::pen(QColor("green"), 0.5));
    painter.drawEllipse(QRectF(x - 3, y - 3, 5, 5));
    painter.setPen(MTlayout::pen(QColor("lightgreen"), 0.5));
    painter.drawLine(QLineF(x - 2, y, x + 2, y));
    painter.drawLine(QLineF(x, y - 2, x, y + 2));
    painter.restore();
}
