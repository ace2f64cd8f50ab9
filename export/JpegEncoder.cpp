#include "export/JpegEncoder.h"

#include <QIODevice>
#include <QObject>

// libjpeg reports its errors through onError(), which jumps back to the
// setjmp() of the call that went wrong. Every function here that calls
// libjpeg sets that point first and keeps no object with a destructor
// alive across the calls.

namespace {

// Qt's own default for JPG pictures.
const int quality = 75;
const int bufferSize = 1 << 16;

} // namespace

JpegEncoder::JpegEncoder() : m_buffer(bufferSize, Qt::Uninitialized)
{
    m_info.err = jpeg_std_error(&m_errors);
    m_errors.error_exit = onError;
    m_errors.encoder = this;
    m_destination.init_destination = initDestination;
    m_destination.empty_output_buffer = emptyOutputBuffer;
    m_destination.term_destination = termDestination;
}

JpegEncoder::~JpegEncoder()
{
    jpeg_destroy_compress(&m_info);
}

bool JpegEncoder::begin(QIODevice *device, const QSize &size, int dotsPerMeter)
{
    m_device = device;
    if (setjmp(m_errors.jump))
        return false;
    jpeg_create_compress(&m_info);
    m_info.client_data = this;
    m_info.dest = &m_destination;
    m_info.image_width = JDIMENSION(size.width());
    m_info.image_height = JDIMENSION(size.height());
    m_info.input_components = 4;
    m_info.in_color_space = JCS_EXT_RGBA;
    jpeg_set_defaults(&m_info);
    jpeg_set_quality(&m_info, quality, TRUE);
    m_info.density_unit = 2; // dots per centimetre
    m_info.X_density = UINT16(qRound(dotsPerMeter / 100.0));
    m_info.Y_density = m_info.X_density;
    jpeg_start_compress(&m_info, TRUE);
    return !m_deviceFailed;
}

bool JpegEncoder::writeRow(const uchar *rgba)
{
    if (setjmp(m_errors.jump))
        return false;
    JSAMPROW row = const_cast<JSAMPROW>(rgba);
    jpeg_write_scanlines(&m_info, &row, 1);
    return !m_deviceFailed;
}

bool JpegEncoder::finish()
{
    if (setjmp(m_errors.jump))
        return false;
    jpeg_finish_compress(&m_info);
    return !m_deviceFailed;
}

void JpegEncoder::initDestination(j_compress_ptr info)
{
    auto *self = static_cast<JpegEncoder *>(info->client_data);
    info->dest->next_output_byte = reinterpret_cast<JOCTET *>(self->m_buffer.data());
    info->dest->free_in_buffer = size_t(self->m_buffer.size());
}

boolean JpegEncoder::emptyOutputBuffer(j_compress_ptr info)
{
    auto *self = static_cast<JpegEncoder *>(info->client_data);
    self->writeBuffer(self->m_buffer.size());
    initDestination(info);
    return TRUE;
}

void JpegEncoder::termDestination(j_compress_ptr info)
{
    auto *self = static_cast<JpegEncoder *>(info->client_data);
    self->writeBuffer(self->m_buffer.size() - qint64(info->dest->free_in_buffer));
}

// A failed write is reported by the caller of libjpeg, which stops.
bool JpegEncoder::writeBuffer(qint64 length)
{
    if (!m_deviceFailed && m_device->write(m_buffer.constData(), length) != length)
        m_deviceFailed = true;
    return !m_deviceFailed;
}

void JpegEncoder::onError(j_common_ptr info)
{
    auto *errors = static_cast<ErrorManager *>(info->err);
    char text[JMSG_LENGTH_MAX];
    errors->format_message(info, text);
    errors->encoder->m_error =
        QObject::tr("l'encodeur JPG a échoué (%1)").arg(QString::fromLatin1(text));
    std::longjmp(errors->jump, 1);
}
