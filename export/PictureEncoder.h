#ifndef PICTUREENCODER_H
#define PICTUREENCODER_H

#include <QSize>
#include <QString>

class QIODevice;

// Writes a picture row by row, top to bottom, so that the whole picture
// never has to be in memory at once. The rows are RGBA, 8 bits a channel,
// not premultiplied (QImage::Format_RGBA8888).
class PictureEncoder
{
public:
    virtual ~PictureEncoder() = default;

    // Starts a picture of `size` pixels, `dotsPerMeter` giving its size on
    // paper, on `device`, which stays the caller's and must be open.
    virtual bool begin(QIODevice *device, const QSize &size, int dotsPerMeter) = 0;
    // The next size.width() pixels.
    virtual bool writeRow(const uchar *rgba) = 0;
    // Ends the picture once every row is written.
    virtual bool finish() = 0;

    // A French reason when the encoder itself failed; empty when writing to
    // the device did, which the device says better.
    QString errorString() const { return m_error; }

protected:
    QString m_error;
};

#endif // PICTUREENCODER_H
