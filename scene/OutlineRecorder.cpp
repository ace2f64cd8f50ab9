#include "scene/OutlineRecorder.h"

#include <QFont>
#include <QFontMetricsF>

#include <climits>

OutlineRecorder::OutlineRecorder(const QSize &size)
    : m_size(size)
{
}

QPaintEngine *OutlineRecorder::paintEngine() const
{
    return &m_engine;
}

int OutlineRecorder::metric(PaintDeviceMetric metric) const
{
    // The default font's resolution is the one pixmaps have, and the one
    // the formula engine measures with when it has no device.
    static const int dpi = qRound(QFontMetricsF(QFont()).fontDpi());
    switch (metric) {
    case PdmWidth: return m_size.width();
    case PdmHeight: return m_size.height();
    case PdmWidthMM: return qRound(m_size.width() * 25.4 / dpi);
    case PdmHeightMM: return qRound(m_size.height() * 25.4 / dpi);
    case PdmNumColors: return INT_MAX;
    case PdmDepth: return 32;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY: return dpi;
    case PdmDevicePixelRatio: return 1;
    case PdmDevicePixelRatioScaled: return int(devicePixelRatioFScale());
    }
    return QPaintDevice::metric(metric);
}
