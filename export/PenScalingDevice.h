#ifndef PENSCALINGDEVICE_H
#define PENSCALINGDEVICE_H

#include "export/PenScalingEngine.h"

#include <QPaintDevice>

class QImage;

// A picture seen through PenScalingEngine: painting on the device paints
// on the picture, cosmetic pens `penScale` times as wide. The picture
// stays the caller's and must outlive the device.
class PenScalingDevice : public QPaintDevice
{
public:
    PenScalingDevice(QImage *target, qreal penScale);

    QPaintEngine *paintEngine() const override;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    QImage *m_target;
    mutable PenScalingEngine m_engine;
};

#endif // PENSCALINGDEVICE_H
