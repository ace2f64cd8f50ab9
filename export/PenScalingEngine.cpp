#include "export/PenScalingEngine.h"

#include <QImage>
#include <QPainterPath>

PenScalingEngine::PenScalingEngine(QImage *target, qreal penScale)
    : QPaintEngine(AllFeatures), m_target(target), m_penScale(penScale)
{
}

bool PenScalingEngine::begin(QPaintDevice *)
{
    return m_painter.begin(m_target);
}

bool PenScalingEngine::end()
{
    return m_painter.end();
}

// The painter hands over its state in logical coordinates with the
// transformation that goes with them, clips included: the transformation
// is applied first so that a clip set in the same change is mapped by it.
void PenScalingEngine::updateState(const QPaintEngineState &state)
{
    const DirtyFlags dirty = state.state();
    if (dirty & DirtyTransform)
        m_painter.setTransform(state.transform());
    if (dirty & DirtyPen)
        m_painter.setPen(scaled(state.pen()));
    if (dirty & DirtyBrush)
        m_painter.setBrush(state.brush());
    if (dirty & DirtyBrushOrigin)
        m_painter.setBrushOrigin(state.brushOrigin());
    if (dirty & DirtyFont)
        m_painter.setFont(state.font());
    if (dirty & DirtyBackground)
        m_painter.setBackground(state.backgroundBrush());
    if (dirty & DirtyBackgroundMode)
        m_painter.setBackgroundMode(state.backgroundMode());
    if (dirty & DirtyHints) {
        m_painter.setRenderHints(m_painter.renderHints(), false);
        m_painter.setRenderHints(state.renderHints(), true);
    }
    if (dirty & DirtyCompositionMode)
        m_painter.setCompositionMode(state.compositionMode());
    if (dirty & DirtyOpacity)
        m_painter.setOpacity(state.opacity());
    if (dirty & DirtyClipRegion)
        m_painter.setClipRegion(state.clipRegion(), state.clipOperation());
    if (dirty & DirtyClipPath)
        m_painter.setClipPath(state.clipPath(), state.clipOperation());
    if (dirty & DirtyClipEnabled)
        m_painter.setClipping(state.isClipEnabled());
}

// A width of 0 is a cosmetic pen one pixel wide.
QPen PenScalingEngine::scaled(QPen pen) const
{
    if (pen.isCosmetic() || pen.widthF() == 0)
        pen.setWidthF(qMax<qreal>(pen.widthF(), 1) * m_penScale);
    return pen;
}

void PenScalingEngine::drawRects(const QRectF *rects, int rectCount)
{
    m_painter.drawRects(rects, rectCount);
}

void PenScalingEngine::drawLines(const QLineF *lines, int lineCount)
{
    m_painter.drawLines(lines, lineCount);
}

void PenScalingEngine::drawEllipse(const QRectF &rect)
{
    m_painter.drawEllipse(rect);
}

void PenScalingEngine::drawPath(const QPainterPath &path)
{
    m_painter.drawPath(path);
}

void PenScalingEngine::drawPoints(const QPointF *points, int pointCount)
{
    m_painter.drawPoints(points, pointCount);
}

void PenScalingEngine::drawPolygon(const QPointF *points, int pointCount, PolygonDrawMode mode)
{
    switch (mode) {
    case PolylineMode:
        m_painter.drawPolyline(points, pointCount);
        break;
    case WindingMode:
        m_painter.drawPolygon(points, pointCount, Qt::WindingFill);
        break;
    case OddEvenMode:
    case ConvexMode:
        m_painter.drawPolygon(points, pointCount, Qt::OddEvenFill);
        break;
    }
}

void PenScalingEngine::drawPixmap(const QRectF &rect, const QPixmap &pixmap, const QRectF &source)
{
    m_painter.drawPixmap(rect, pixmap, source);
}

void PenScalingEngine::drawTextItem(const QPointF &position, const QTextItem &textItem)
{
    m_painter.drawTextItem(position, textItem);
}

void PenScalingEngine::drawTiledPixmap(const QRectF &rect, const QPixmap &pixmap,
                                       const QPointF &offset)
{
    m_painter.drawTiledPixmap(rect, pixmap, offset);
}

void PenScalingEngine::drawImage(const QRectF &rect, const QImage &image, const QRectF &source,
                                 Qt::ImageConversionFlags flags)
{
    m_painter.drawImage(rect, image, source, flags);
}
