#ifndef JPEGENCODER_H
#define JPEGENCODER_H

#include "export/PictureEncoder.h"

#include <QByteArray>

#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE and size_t declared first
#include <jpeglib.h>

// JPG through libjpeg, at the quality Qt writes by default. The alpha
// channel of the rows is dropped: what is transparent must have been
// painted over white before.
class JpegEncoder : public PictureEncoder
{
public:
    JpegEncoder();
    ~JpegEncoder() override;
    JpegEncoder(const JpegEncoder &) = delete;
    JpegEncoder &operator=(const JpegEncoder &) = delete;

    bool begin(QIODevice *device, const QSize &size, int dotsPerMeter) override;
    bool writeRow(const uchar *rgba) override;
    bool finish() override;

private:
    // libjpeg's error manager, extended with the point to jump back to.
    struct ErrorManager : jpeg_error_mgr {
        JpegEncoder *encoder;
        std::jmp_buf jump;
    };

    static void initDestination(j_compress_ptr info);
    static boolean emptyOutputBuffer(j_compress_ptr info);
    static void termDestination(j_compress_ptr info);
    [[noreturn]] static void onError(j_common_ptr info);
    bool writeBuffer(qint64 length);

    jpeg_compress_struct m_info{};
    ErrorManager m_errors{};
    jpeg_destination_mgr m_destination{};
    QByteArray m_buffer;
    QIODevice *m_device = nullptr;
    bool m_deviceFailed = false;
};

#endif // JPEGENCODER_H
