#ifndef FORMULAPIXELS_H
#define FORMULAPIXELS_H

// Measures of rendered formulas shared by the scene and export tests.

#include <QColor>
#include <QImage>
#include <QtGlobal>

#include <cstdlib>

namespace FormulaPixels {

// How much ink a pixel holds, 0 to 255: its opacity on a transparent
// picture, its darkness on an opaque one.
inline int ink(QRgb pixel, bool opaque)
{
    return opaque ? 255 - qGray(pixel) : qAlpha(pixel);
}

// The mean width in pixels of the blur between paper and ink, from the
// rows of the picture: each run of part-inked pixels between a clear and
// a fully inked pixel counts, and a direct step counts as 0. A sharp
// rendering gives about 1 or less, a picture enlarged N times about N.
inline double edgeWidth(const QImage &picture, bool opaque)
{
    const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    const int clear = 20, full = 235;
    long edges = 0, blurred = 0;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        int lastSide = -1; // 0 clear, 1 full
        int run = 0;
        for (int x = 0; x < image.width(); ++x) {
            const int value = ink(row[x], opaque);
            const int side = value <= clear ? 0 : value >= full ? 1 : -1;
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

// The mean difference of ink between two pictures of one size, 0 to 255.
inline double meanInkDifference(const QImage &a, const QImage &b, bool opaque)
{
    const QImage x = a.convertToFormat(QImage::Format_ARGB32);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32);
    double sum = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int col = 0; col < x.width(); ++col)
            sum += std::abs(ink(x.pixel(col, row), opaque) - ink(y.pixel(col, row), opaque));
    return sum / (double(x.width()) * x.height());
}

// Pixels of a clear red, as \textcolor{red} paints.
inline int redPixels(const QImage &picture)
{
    const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            count += c.alpha() > 200 && c.red() > 180 && c.green() < 80 && c.blue() < 80;
        }
    return count;
}

// Pixels darker than mid-grey and not coloured: the formulas' own black.
inline int blackPixels(const QImage &picture)
{
    const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            count += c.alpha() > 200 && c.red() < 100 && c.green() < 100 && c.blue() < 100;
        }
    return count;
}

} // namespace FormulaPixels

#endif // FORMULAPIXELS_H
