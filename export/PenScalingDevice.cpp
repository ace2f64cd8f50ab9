#include "export/PenScalingDevice.h"

#include <QImage>

PenScalingDevice::PenScalingDevice(QImage *target, qreal penScale)
    : m_target(target), m_engine(target, penScale)
{
}

QPaintEngine *PenScalingDevice::paintEngine() const
{
    return &m_engine;
}

// The picture's own measures, so that fonts and coordinates resolve as on
// the picture itself.
int PenScalingDevice::metric(PaintDeviceMetric metric) const
{
    switch (metric) {
    case PdmWidth: return m_target->width();
    case PdmHeight: return m_target->height();
    case PdmWidthMM: return m_target->widthMM();
    case PdmHeightMM: return m_target->heightMM();
    case PdmNumColors: return m_target->colorCount();
    case PdmDepth: return m_target->depth();
    case PdmDpiX: return m_target->logicalDpiX();
    case PdmDpiY: return m_target->logicalDpiY();
    case PdmPhysicalDpiX: return m_target->physicalDpiX();
    case PdmPhysicalDpiY: return m_target->physicalDpiY();
    case PdmDevicePixelRatio: return m_target->devicePixelRatio();
    case PdmDevicePixelRatioScaled:
        return int(m_target->devicePixelRatioF() * devicePixelRatioFScale());
    }
    return QPaintDevice::metric(metric);
}
