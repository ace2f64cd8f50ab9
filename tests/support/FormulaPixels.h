#ifndef FORMULAPIXELS_H
#define FORMULAPIXELS_H

// Measures of rendered formulas shared by the scene and export tests.

#include <QColor>
#include <QImage>

#include <cstdlib>

namespace FormulaPixels {

// The ink of a pixel, 0 to 255: its opacity, or its darkness when opaque.
inline int ink(QRgb pixel, bool opaque)
{
    return opaque ? 255 - qGray(pixel) : qAlpha(pixel);
}

// The mean count of part-inked pixels between a clear and a fully inked
// one along the rows: about 1 or less when sharp, about N for a picture
// enlarged N times.
inline double edgeWidth(const QImage &picture, bool opaque)
{
    const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    long edges = 0, blurred = 0;
    for (int y = 0; y < image.height(); ++y) {
        int lastSide = -1, run = 0;
        for (int x = 0; x < image.width(); ++x) {
            const int value = ink(image.pixel(x, y), opaque);
            const int side = value <= 20 ? 0 : value >= 235 ? 1 : -1;
            if (side < 0) {
                ++run;
                continue;
            }
            if (lastSide >= 0 && side != lastSide) {
                ++edges;
                blurred += run;
            }
            lastSide = side;
            run = 0;
        }
    }
    return edges ? double(blurred) / edges : 1e9;
}

// The mean difference of ink between two pictures of one size.
inline double meanInkDifference(const QImage &a, const QImage &b, bool opaque)
{
    const QImage x = a.convertToFormat(QImage::Format_ARGB32), y = b.convertToFormat(QImage::Format_ARGB32);
    double sum = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int col = 0; col < x.width(); ++col)
            sum += std::abs(ink(x.pixel(col, row), opaque) - ink(y.pixel(col, row), opaque));
    return sum / (double(x.width()) * x.height());
}

// Opaque pixels of \textcolor{red}'s red, or of the formulas' own black.
inline int pixelsOf(const QImage &picture, Qt::GlobalColor colour)
{
    const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            const bool dark = c.green() < 80 && c.blue() < 80;
            count += c.alpha() > 200 && dark && (colour == Qt::red ? c.red() > 180 : c.red() < 80);
        }
    return count;
}

} // namespace FormulaPixels

#endif // FORMULAPIXELS_H
