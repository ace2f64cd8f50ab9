#ifndef PNGENCODER_H
#define PNGENCODER_H

#include "export/PictureEncoder.h"

#include <QByteArray>

#include <zlib.h>

// PNG, RGBA with 8 bits a channel, written for speed on diagrams: large
// flat areas where most rows repeat the row above.
//
// Every row gets the "up" filter (its difference from the row above), and
// the compressed stream is made of two kinds of deflate blocks: zlib's, at
// its fastest level, for rows that change; and blocks built here for rows
// that repeat the one above, whose filtered bytes are all zero and take a
// few dozen bytes to say so. zlib alone would spend as long on those zeros
// as on any other bytes, and they are most of a diagram.
class PngEncoder : public PictureEncoder
{
public:
    PngEncoder();
    ~PngEncoder() override;
    PngEncoder(const PngEncoder &) = delete;
    PngEncoder &operator=(const PngEncoder &) = delete;

    bool begin(QIODevice *device, const QSize &size, int dotsPerMeter) override;
    bool writeRow(const uchar *rgba) override;
    bool finish() override;

private:
    bool writeChunk(const char *type, const QByteArray &data);
    bool writePendingData(bool all);
    void compressChangedRow(const uchar *rgba);
    void deflateBytes(int flush);
    void writeRepeatedRow();
    void putBits(quint32 bits, int count);
    void putCode(quint32 code, int length);
    void putZeroRun(qint64 length);
    void closeRepeatBlock();

    QIODevice *m_device = nullptr;
    z_stream m_zlib{};
    bool m_zlibReady = false;
    qint64 m_rowBytes = 0;
    qint64 m_rowsWritten = 0;
    QByteArray m_previous;  // the last row, as given
    QByteArray m_filtered;  // filter byte and differences of a changed row
    QByteArray m_idat;      // compressed bytes waiting for their chunk
    quint32 m_adler = 1;    // of every filtered byte, for the zlib trailer
    quint64 m_bitBuffer = 0;
    int m_bitCount = 0;
    bool m_inRepeatBlock = false;
    bool m_failed = false;
};

#endif // PNGENCODER_H
