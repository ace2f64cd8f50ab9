#ifndef MTLAYOUT_H
#define MTLAYOUT_H

#include "math/MTstyle.h"

#include <QFontMetricsF>
#include <QPainterPath>
#include <QPen>

class MTnode;
class QPainter;
class VelQTmathText;

// Measures and shapes shared by the node classes.
namespace MTlayout {

// Font sizes outside this range come only from absurd input (a thousand
// \displaystyle); glyph rasterisers misbehave on them, so sizes are kept in it.
constexpr double minFontSize = 1.0;
constexpr double maxFontSize = 1000.0;

// env with its font size multiplied by factor, kept in the range above.
MTstyle scaled(MTstyle env, double factor);
double boundedFontSize(double size);

// Metrics of font on the painter's device (the default device when the
// painter is not active).
QFontMetricsF metrics(const QPainter& painter, const QFont& font);

// The em of env's font on the painter's device: TeX's unit for the
// dimensions of a style (MTtexParameters.h).
double em(const VelQTmathText* parent, const QPainter& painter, const MTstyle& env);
// TeX's math unit, an eighteenth of the em.
double mu(const VelQTmathText* parent, const QPainter& painter, const MTstyle& env);
// The math axis, where fraction bars lie and brackets and big operators are
// centred: the middle of the font's "+", a quarter em above the baseline.
double axisHeight(const VelQTmathText* parent, const QPainter& painter, const MTstyle& env);

// Stroke width of fraction bars, root signs and accents: one sixteenth of
// the point size rounded up, so 2 pixels at 20 points.
double ruleWidth(double fontSize);

// Stroke width of growing brackets: a twelfth of the point size rounded up.
double bracketLineWidth(double fontSize);

// A divisor that is never zero, negative or NaN (a setting may be any double).
double safeDivisor(double value);

// x where an inner box of width inner starts when centred in a box of width
// outer that starts at x.
inline double centred(double x, double outer, double inner) { return x + (outer - inner) / 2; }

QPen pen(const QColor& color, double width);

// A horizontal curly brace from (0, 0) to (width, 0) with its tip at
// (width / 2, height); callers rotate and move it into place.
QPainterPath curlyBrace(double width, double height);

// Where ink reaches across a box, from its start: none while left > right.
struct InkSpan
{
    double left = 1, right = 0;
    bool isEmpty() const { return left > right; }
    void add(double from, double to);
    // The ink of node placed at x (nothing for a null node).
    void add(QPainter& painter, MTnode* node, const MTstyle& env, double x);
};

} // namespace MTlayout

#endif // MTLAYOUT_H
