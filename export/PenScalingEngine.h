#ifndef PENSCALINGENGINE_H
#define PENSCALINGENGINE_H

#include <QPaintEngine>
#include <QPainter>

class QImage;

// Passes everything painted on it to a painter on a picture, with the
// width of cosmetic pens multiplied by a factor. Cosmetic pens (shape
// borders) are as many device pixels wide at any scale, so a picture
// rendered at N pixels per scene unit would otherwise get borders N times
// thinner than everything else. Owned by PenScalingDevice.
class PenScalingEngine : public QPaintEngine
{
public:
    PenScalingEngine(QImage *target, qreal penScale);

    bool begin(QPaintDevice *device) override;
    bool end() override;
    void updateState(const QPaintEngineState &state) override;

    void drawRects(const QRectF *rects, int rectCount) override;
    void drawLines(const QLineF *lines, int lineCount) override;
    void drawEllipse(const QRectF &rect) override;
    void drawPath(const QPainterPath &path) override;
    void drawPoints(const QPointF *points, int pointCount) override;
    void drawPolygon(const QPointF *points, int pointCount, PolygonDrawMode mode) override;
    void drawPixmap(const QRectF &rect, const QPixmap &pixmap, const QRectF &source) override;
    void drawTextItem(const QPointF &position, const QTextItem &textItem) override;
    void drawTiledPixmap(const QRectF &rect, const QPixmap &pixmap, const QPointF &offset) override;
    void drawImage(const QRectF &rect, const QImage &image, const QRectF &source,
                   Qt::ImageConversionFlags flags) override;

    Type type() const override { return User; }

private:
    QPen scaled(QPen pen) const;

    QImage *m_target;
    qreal m_penScale;
    QPainter m_painter;
};

#endif // PENSCALINGENGINE_H
