#include "scene/OutlineRecordingEngine.h"

#include <QPainterPathStroker>

OutlineRecordingEngine::OutlineRecordingEngine()
    : QPaintEngine(AllFeatures)
{
}

QVector<FilledOutline> OutlineRecordingEngine::takeOutlines()
{
    QVector<FilledOutline> taken;
    taken.swap(m_outlines);
    return taken;
}

bool OutlineRecordingEngine::begin(QPaintDevice *)
{
    m_transform = QTransform();
    m_pen = QPen();
    m_brush = QBrush();
    return true;
}

bool OutlineRecordingEngine::end()
{
    return true;
}

void OutlineRecordingEngine::updateState(const QPaintEngineState &state)
{
    const DirtyFlags dirty = state.state();
    if (dirty & DirtyTransform)
        m_transform = state.transform();
    if (dirty & DirtyPen)
        m_pen = state.pen();
    if (dirty & DirtyBrush)
        m_brush = state.brush();
}

void OutlineRecordingEngine::fill(const QPainterPath &path, const QBrush &brush)
{
    if (brush.style() == Qt::NoBrush || path.isEmpty())
        return;
    QPainterPath mapped = m_transform.map(path);
    // One path per colour run keeps a replay to a few fills.
    if (!m_outlines.isEmpty() && m_outlines.last().brush == brush
        && m_outlines.last().path.fillRule() == mapped.fillRule()) {
        m_outlines.last().path.addPath(mapped);
        return;
    }
    m_outlines.append({mapped, brush});
}

void OutlineRecordingEngine::stroke(const QPainterPath &path)
{
    if (m_pen.style() == Qt::NoPen || path.isEmpty())
        return;
    QPainterPathStroker stroker(m_pen);
    // A cosmetic pen is as wide on the recording as it was meant to be on
    // the device painted on; 0 means one unit.
    const bool cosmetic = m_pen.isCosmetic() || m_pen.widthF() == 0;
    if (cosmetic) {
        stroker.setWidth(qMax<qreal>(m_pen.widthF(), 1));
        const QTransform transform = m_transform;
        m_transform = QTransform();
        fill(stroker.createStroke(transform.map(path)), m_pen.brush());
        m_transform = transform;
        return;
    }
    QPainterPath outline = stroker.createStroke(path);
    outline.setFillRule(Qt::WindingFill);
    fill(outline, m_pen.brush());
}

void OutlineRecordingEngine::drawPath(const QPainterPath &path)
{
    fill(path, m_brush);
    stroke(path);
}

void OutlineRecordingEngine::drawRects(const QRectF *rects, int rectCount)
{
    for (int i = 0; i < rectCount; ++i) {
        QPainterPath path;
        path.addRect(rects[i]);
        drawPath(path);
    }
}

void OutlineRecordingEngine::drawLines(const QLineF *lines, int lineCount)
{
    QPainterPath path;
    for (int i = 0; i < lineCount; ++i) {
        path.moveTo(lines[i].p1());
        path.lineTo(lines[i].p2());
    }
    stroke(path);
}

void OutlineRecordingEngine::drawEllipse(const QRectF &rect)
{
    QPainterPath path;
    path.addEllipse(rect);
    drawPath(path);
}

void OutlineRecordingEngine::drawPoints(const QPointF *points, int pointCount)
{
    // A point is a dot of the pen's width.
    const qreal radius = qMax<qreal>(m_pen.widthF(), 1) / 2;
    QPainterPath path;
    for (int i = 0; i < pointCount; ++i)
        path.addEllipse(points[i], radius, radius);
    fill(path, m_pen.brush());
}

void OutlineRecordingEngine::drawPolygon(const QPointF *points, int pointCount, PolygonDrawMode mode)
{
    if (pointCount < 2)
        return;
    QPainterPath path(points[0]);
    for (int i = 1; i < pointCount; ++i)
        path.lineTo(points[i]);
    if (mode == PolylineMode) {
        stroke(path);
        return;
    }
    path.closeSubpath();
    path.setFillRule(mode == WindingMode ? Qt::WindingFill : Qt::OddEvenFill);
    drawPath(path);
}

// Formulas draw no pictures; colour glyph fonts, which would, are not used.
void OutlineRecordingEngine::drawPixmap(const QRectF &, const QPixmap &, const QRectF &)
{
}
