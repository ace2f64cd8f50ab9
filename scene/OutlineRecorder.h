#ifndef OUTLINERECORDER_H
#define OUTLINERECORDER_H

#include "scene/OutlineRecordingEngine.h"

#include <QPaintDevice>
#include <QSize>

// A paint device that keeps what is painted on it as filled outlines
// (OutlineRecordingEngine). It has the resolution of a pixmap, so that
// fonts in points measure and draw as on the pictures the program makes.
class OutlineRecorder : public QPaintDevice
{
public:
    explicit OutlineRecorder(const QSize &size);

    // What was painted since the last take; call after the painter ended.
    QVector<FilledOutline> takeOutlines() { return m_engine.takeOutlines(); }

    QPaintEngine *paintEngine() const override;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    QSize m_size;
    mutable OutlineRecordingEngine m_engine;
};

#endif // OUTLINERECORDER_H
