#ifndef MATHTESTSUPPORT_H
#define MATHTESTSUPPORT_H

#include "math/MTnode.h"
#include "math/MTstyle.h"
#include "math/VelQTmathText.h"

#include <QImage>
#include <QPainter>

// The engine as the editor and the scene set it up.
struct XitsEngine : VelQTmathText
{
    explicit XitsEngine(double fontSize = 20)
    {
        setFontSize(fontSize);
        selectXitsFonts();
    }
};

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
    env.italic = env.insideMath = insideMath;
    return env;
}

inline QSizeF formulaSize(const QString& text, double fontSize)
{
    XitsEngine engine(fontSize);
    engine.parse(text);
    QPainter painter;
    return engine.getSize(painter);
}

inline QImage blankImage(int width = 300, int height = 150, Qt::GlobalColor fill = Qt::white)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(fill);
    return image;
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
