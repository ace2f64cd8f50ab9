#ifndef MATHTESTSUPPORT_H
#define MATHTESTSUPPORT_H

#include "math/MTnode.h"
#include "math/MTstyle.h"
#include "math/VelQTmathText.h"

#include <QImage>
#include <QPainter>

// A node's size: width, height above the baseline, total height, strike-out position.
struct Box
{
    double width = 0, baseline = 0, overall = 0, strikeout = 0;
    double depth() const { return overall - baseline; }
};

// Measures as every caller does: with a painter that has no device.
inline Box measure(MTnode* node, const MTstyle& env)
{
    QPainter painter;
    Box box;
    node->getSize(painter, env, box.width, box.baseline, box.overall, box.strikeout);
    return box;
}

// 20 points; italic inside math.
inline MTstyle mathEnv(bool insideMath = true)
{
    MTstyle env;
    env.fontSize = 20;
    env.italic = insideMath;
    env.insideMath = insideMath;
    return env;
}

// The size of a formula typeset with the XITS fonts, measured as every caller does.
inline QSizeF formulaSize(const QString& text, double fontSize)
{
    VelQTmathText engine;
    engine.setFontSize(fontSize);
    engine.selectXitsFonts();
    engine.parse(text);
    QPainter painter;
    return engine.getSize(painter);
}

inline bool dark(QRgb pixel) { return qGray(pixel) < 128; }
inline bool opaque(QRgb pixel) { return qAlpha(pixel) > 0; }

// The smallest rectangle that holds every inked pixel; null when there is none.
inline QRect inkBounds(const QImage& image, bool (*ink)(QRgb) = dark)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (ink(image.pixel(x, y)))
                bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

#endif // MATHTESTSUPPORT_H
