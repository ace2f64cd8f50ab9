#include "scene/StampCache.h"

#include <QPaintDevice>
#include <QtMath>

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

// Pictures the cache keeps at most, in bytes of pixels: the figures of a
// full view many times over.
const int cacheBytes = 32 * 1024 * 1024;
// Larger figures (a shape at a high zoom) are painted directly: few of
// them fit in a view, and their pictures would crowd the others out.
const int largestStampPixels = 256 * 256;
// Geometry is keyed to a 256th of a unit: alike figures computed along
// different paths differ in their last bits.
const qreal pointGrain = 256;
const int eighths = 8;

bool isPlain(const QBrush &brush)
{
    return brush.style() == Qt::NoBrush || brush.style() == Qt::SolidPattern;
}

// Only a view's painting goes through pictures, and only what they
// reproduce: plain colours blended over what is there.
bool stampable(const QPainter *painter)
{
    return painter->device()->devType() == QInternal::Widget
           && painter->compositionMode() == QPainter::CompositionMode_SourceOver
           && painter->worldTransform().type() <= QTransform::TxShear && isPlain(painter->brush())
           && isPlain(painter->pen().brush());
}

QPolygonF relativeTo(const QPolygonF &points, const QPointF &origin)
{
    QPolygonF relative;
    relative.reserve(points.size());
    for (const QPointF &p : points) {
        relative << QPointF(std::round((p.x() - origin.x()) * pointGrain) / pointGrain,
                            std::round((p.y() - origin.y()) * pointGrain) / pointGrain);
    }
    return relative;
}

// How far the stroke reaches beyond the points, in device pixels, plus a
// pixel for the antialiased edge.
qreal strokeReach(const QPen &pen, const QTransform &linear)
{
    if (pen.style() == Qt::NoPen)
        return 1;
    const qreal stretch = std::sqrt(linear.m11() * linear.m11() + linear.m12() * linear.m12()
                                    + linear.m21() * linear.m21() + linear.m22() * linear.m22());
    const qreal width = pen.isCosmetic() ? qMax<qreal>(pen.widthF(), 1) : pen.widthF() * stretch;
    const qreal joinFactor = pen.joinStyle() == Qt::MiterJoin ? qMax<qreal>(pen.miterLimit(), 1)
                                                               : 1;
    return width * joinFactor + 2;
}

void drawOutline(QPainter *painter, const QPolygonF &points, int openCount,
                 Qt::FillRule fillRule)
{
    if (openCount > 0)
        painter->drawPolyline(points.constData(), openCount);
    if (points.size() > openCount)
        painter->drawPolygon(points.constData() + openCount, points.size() - openCount, fillRule);
}

} // namespace

bool StampCache::Look::operator==(const Look &other) const
{
    return openCount == other.openCount && fillRule == other.fillRule
           && antialiased == other.antialiased && eighthX == other.eighthX
           && eighthY == other.eighthY
           && std::equal(std::begin(linear), std::end(linear), std::begin(other.linear))
           && pen == other.pen && brush == other.brush;
}

namespace {

uint hashOf(const StampCache::Look &look, uint figureHash)
{
    uint hash = qHashBits(look.linear, sizeof look.linear, figureHash);
    const qreal width = look.pen.widthF();
    hash = qHashBits(&width, sizeof width, hash);
    const uint fields[] = {uint(look.openCount), uint(look.fillRule), uint(look.antialiased),
                           uint(look.eighthX), uint(look.eighthY), look.pen.color().rgba(),
                           uint(look.pen.style()), uint(look.brush.style()),
                           look.brush.color().rgba()};
    return qHashBits(fields, sizeof fields, hash);
}

} // namespace

StampCache::StampCache()
    : m_stamps(cacheBytes)
{
}

StampCache &StampCache::shared()
{
    static StampCache cache;
    return cache;
}

void StampCache::Figure::follow(const QPolygonF &points)
{
    if (points.constData() == m_source.constData() && points.size() == m_source.size())
        return; // the same shared points: nothing moved
    m_source = points;
    QPolygonF relative = points.isEmpty() ? QPolygonF() : relativeTo(points, points.first());
    if (relative == m_relative)
        return; // moved, not reshaped: keeps its picture
    m_relative = relative;
    m_hash = qHashBits(m_relative.constData(), m_relative.size() * sizeof(QPointF));
    m_lastStamp = nullptr;
}

void StampCache::draw(QPainter *painter, const QPolygonF &points, Figure &figure,
                      int openCount, Qt::FillRule fillRule)
{
    if (points.isEmpty() || !stampable(painter)) {
        drawOutline(painter, points, openCount, fillRule);
        return;
    }
    const qreal ratio = painter->device()->devicePixelRatioF();
    const QTransform toDevice = painter->worldTransform() * QTransform::fromScale(ratio, ratio);
    // The first point's device position, in whole pixels and eighths.
    const QPointF anchor = toDevice.map(points.first());
    const qreal anchorX = std::round(anchor.x() * eighths) / eighths;
    const qreal anchorY = std::round(anchor.y() * eighths) / eighths;
    const QPoint pixel(int(std::floor(anchorX)), int(std::floor(anchorY)));

    figure.follow(points);
    const Look look{openCount,
                    fillRule,
                    painter->pen(),
                    painter->brush(),
                    painter->testRenderHint(QPainter::Antialiasing),
                    {toDevice.m11(), toDevice.m12(), toDevice.m21(), toDevice.m22()},
                    int(std::lround((anchorX - pixel.x()) * eighths)),
                    int(std::lround((anchorY - pixel.y()) * eighths))};
    if (!figure.m_lastStamp || figure.m_lastGeneration != m_generation
        || !(figure.m_lastLook == look)) {
        const Key key{figure.m_relative, look, hashOf(look, figure.m_hash)};
        figure.m_lastStamp = find(key, ratio);
        figure.m_lastLook = look;
        figure.m_lastGeneration = m_generation;
    }
    if (!figure.m_lastStamp) { // too large to keep, or past the ration
        drawOutline(painter, points, openCount, fillRule);
        return;
    }
    painter->setWorldMatrixEnabled(false);
    painter->drawImage(QPointF(pixel + figure.m_lastStamp->offset) / ratio,
                       figure.m_lastStamp->image);
    painter->setWorldMatrixEnabled(true);
}

StampCache::Ration::Ration(StampCache &cache, int count)
    : m_cache(cache)
    , m_outerAllowance(cache.m_newAllowed)
{
    cache.m_newAllowed = qMin(count, m_outerAllowance);
}

StampCache::Ration::~Ration()
{
    m_cache.m_newAllowed = m_outerAllowance;
}

// The kept picture for `key`, made now if there is none and the ration
// allows it.
const StampCache::Stamp *StampCache::find(const Key &key, qreal devicePixelRatio)
{
    if (const Stamp *kept = m_stamps.object(key))
        return kept;
    if (m_newAllowed <= 0)
        return nullptr;
    --m_newAllowed;
    Stamp *made = render(key, devicePixelRatio);
    if (!made)
        return nullptr;
    const int bytes = int(made->image.sizeInBytes());
    if (m_stamps.totalCost() + bytes > m_stamps.maxCost())
        ++m_generation; // older pictures go to make room
    m_stamps.insert(key, made, bytes);
    return made;
}

// The picture of the figure whose first point lies at the key's eighths
// of a pixel, or null when it would be larger than a picture is kept.
StampCache::Stamp *StampCache::render(const Key &key, qreal devicePixelRatio)
{
    const Look &look = key.look;
    const QTransform inPixel(look.linear[0], look.linear[1], look.linear[2], look.linear[3],
                             qreal(look.eighthX) / eighths, qreal(look.eighthY) / eighths);
    const qreal reach = strokeReach(look.pen, inPixel);
    const QRect extent = inPixel.map(key.points)
                             .boundingRect()
                             .adjusted(-reach, -reach, reach, reach)
                             .toAlignedRect();
    if (qint64(extent.width()) * extent.height() > largestStampPixels)
        return nullptr;

    auto *stamp = new Stamp{QImage(extent.size(), QImage::Format_ARGB32_Premultiplied),
                            extent.topLeft()};
    stamp->image.fill(Qt::transparent);
    QPainter painter(&stamp->image);
    painter.setRenderHint(QPainter::Antialiasing, look.antialiased);
    painter.setTransform(inPixel * QTransform::fromTranslate(-extent.x(), -extent.y()));
    painter.setPen(look.pen);
    painter.setBrush(look.brush);
    drawOutline(&painter, key.points, look.openCount, look.fillRule);
    painter.end();
    stamp->image.setDevicePixelRatio(devicePixelRatio);
    return stamp;
}
