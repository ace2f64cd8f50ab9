#include "math/MTlayout.h"

#include "math/MTatom.h"
#include "math/MTnode.h"
#include "math/VelQTmathText.h"

#include <QPainter>

#include <cmath>

namespace MTlayout {

double boundedFontSize(double size)
{
    if (!(size >= minFontSize)) // NaN too
        return minFontSize;
    return std::min(size, maxFontSize);
}

MTstyle scaled(MTstyle env, double factor)
{
    env.fontSize = boundedFontSize(env.fontSize * factor);
    return env;
}

QFontMetricsF metrics(const QPainter& painter, const QFont& font)
{
    return QFontMetricsF(font, painter.device());
}

double em(const VelQTmathText* parent, const QPainter& painter, const MTstyle& env)
{
    return parent->em(boundedFontSize(env.fontSize), painter.device());
}

double mu(const VelQTmathText* parent, const QPainter& painter, const MTstyle& env)
{
    return em(parent, painter, env) / MTatom::muPerEm;
}

double axisHeight(const VelQTmathText* parent, const QPainter& painter, const MTstyle& env)
{
    return parent->mathAxis(env.family(parent)) * em(parent, painter, env);
}

double ruleWidth(double fontSize)
{
    return std::max(0.02, std::ceil(fontSize * 0.0625));
}

double bracketLineWidth(double fontSize)
{
    return std::max(0.25, std::ceil(fontSize / 12.0));
}

double safeDivisor(double value)
{
    return value > 1e-6 ? value : 1.0;
}

QPen pen(const QColor& color, double width)
{
    QPen result(color);
    result.setWidthF(width);
    result.setStyle(Qt::SolidLine);
    result.setCapStyle(Qt::FlatCap);
    result.setJoinStyle(Qt::MiterJoin);
    return result;
}

QPainterPath curlyBrace(double width, double height)
{
    // Each half: a short curl at the end, a straight run, and a curl into
    // the tip; the curls take at most a quarter of the width.
    const double curl = std::min(height / 2, width / 4);
    const double mid = width / 2;
    const double h2 = height / 2;
    QPainterPath path(QPointF(0, 0));
    path.cubicTo(0, h2 * 0.6, curl * 0.4, h2, curl, h2);
    path.lineTo(mid - curl, h2);
    path.cubicTo(mid - curl * 0.4, h2, mid, h2 + h2 * 0.4, mid, height);
    path.cubicTo(mid, h2 + h2 * 0.4, mid + curl * 0.4, h2, mid + curl, h2);
    path.lineTo(width - curl, h2);
    path.cubicTo(width - curl * 0.4, h2, width, h2 * 0.6, width, 0);
    return path;
}

void InkSpan::add(double from, double to)
{
    if (from > to)
        return;
    left = isEmpty() ? from : std::min(left, from);
    right = std::max(right, to);
}

void InkSpan::add(QPainter& painter, MTnode* node, const MTstyle& env, double x)
{
    if (!node)
        return;
    double from = 1, to = 0;
    node->inkExtent(painter, env, from, to);
    add(x + from, x + to);
}

} // namespace MTlayout
