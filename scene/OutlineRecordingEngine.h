#ifndef OUTLINERECORDINGENGINE_H
#define OUTLINERECORDINGENGINE_H

#include <QBrush>
#include <QPaintEngine>
#include <QPainterPath>
#include <QPen>
#include <QTransform>
#include <QVector>

// One filled area of a recorded drawing, in the recording's units.
struct FilledOutline
{
    QPainterPath path;
    QBrush brush;
};

// Keeps what is painted on it as filled outlines instead of pixels: glyphs
// become their outlines (QPaintEngine's own text fallback), strokes the
// outline of the stroke, everything mapped by the painter's transformation.
// Replaying the outlines is then resolution-free and independent of the
// target's resolution. Pictures are not kept. Owned by OutlineRecorder.
class OutlineRecordingEngine : public QPaintEngine
{
public:
    OutlineRecordingEngine();

    // What was painted since the last take, in painting order; consecutive
    // outlines of one brush are joined into one path.
    QVector<FilledOutline> takeOutlines();

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

    Type type() const override { return User; }

private:
    void fill(const QPainterPath &path, const QBrush &brush);
    void stroke(const QPainterPath &path);

    QTransform m_transform;
    QPen m_pen;
    QBrush m_brush;
    QVector<FilledOutline> m_outlines;
};

#endif // OUTLINERECORDINGENGINE_H
