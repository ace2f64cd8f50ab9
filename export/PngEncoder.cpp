#include "export/PngEncoder.h"

#include <QIODevice>
#include <QObject>
#include <QtEndian>

#include <cstring>

// The formats are those of the PNG standard (ISO/IEC 15948), zlib
// (RFC 1950) and deflate (RFC 1951).

namespace {

const char pngSignature[] = "\x89PNG\r\n\x1a\n";
const int idatSize = 1 << 16;
const uchar upFilter = 2;
const quint32 adlerModulus = 65521;

// Deflate's fixed Huffman codes (RFC 1951, 3.2.6), most significant bit first.
quint32 literalCode(int literal) { return 0x30 + quint32(literal); } // 8 bits, literals 0-143
const quint32 endOfBlockCode = 0;   // symbol 256, 7 bits
const int maxMatch = 258;           // symbol 285, 8 bits, no extra bits
const quint32 distanceOneCode = 0;  // 5 bits, no extra bits

// Lengths 3 to 257: symbol 257 + index, base length and extra bits.
const int lengthBase[] = {3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 15, 17, 19, 23, 27, 31,
                          35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227};
const int lengthExtraBits[] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2,
                               3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5};

// Each of the eight bytes of a minus the same byte of b, modulo 256: the
// top bit of every byte is set in a and cleared in b so that no borrow
// crosses into the next byte, then the top bits are put right.
quint64 subtractBytes(quint64 a, quint64 b)
{
    const quint64 high = 0x8080808080808080ULL;
    return ((a | high) - (b & ~high)) ^ ((a ^ ~b) & high);
}

QByteArray bigEndian(quint32 value)
{
    QByteArray bytes(4, Qt::Uninitialized);
    qToBigEndian(value, bytes.data());
    return bytes;
}

} // namespace

PngEncoder::PngEncoder() = default;

PngEncoder::~PngEncoder()
{
    if (m_zlibReady)
        deflateEnd(&m_zlib);
}

bool PngEncoder::begin(QIODevice *device, const QSize &size, int dotsPerMeter)
{
    m_device = device;
    m_rowBytes = qint64(size.width()) * 4;
    // Raw deflate: the zlib header and trailer are written here, as the
    // blocks built here must be counted in the trailer's checksum.
    if (deflateInit2(&m_zlib, Z_BEST_SPEED, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
        m_error = QObject::tr("mémoire insuffisante pour l'encodeur PNG");
        return false;
    }
    m_zlibReady = true;
    m_previous = QByteArray(int(m_rowBytes), 0);
    m_filtered = QByteArray(int(m_rowBytes) + 1, Qt::Uninitialized);
    m_filtered[0] = char(upFilter);

    QByteArray header = bigEndian(quint32(size.width())) + bigEndian(quint32(size.height()));
    header += QByteArray("\x08\x06\x00\x00\x00", 5); // 8 bits, RGBA, deflate, filters, no interlace
    QByteArray physical = bigEndian(quint32(dotsPerMeter)) + bigEndian(quint32(dotsPerMeter));
    physical += char(1); // per metre
    if (m_device->write(pngSignature, 8) != 8 || !writeChunk("IHDR", header)
        || !writeChunk("pHYs", physical))
        return false;
    m_idat.reserve(2 * idatSize);
    m_idat.append("\x78\x01", 2); // zlib: deflate, 32 KiB window, fastest
    return true;
}

bool PngEncoder::writeRow(const uchar *rgba)
{
    const bool repeated =
        m_rowsWritten > 0 && std::memcmp(rgba, m_previous.constData(), size_t(m_rowBytes)) == 0;
    if (repeated) {
        writeRepeatedRow();
    } else {
        compressChangedRow(rgba);
        std::memcpy(m_previous.data(), rgba, size_t(m_rowBytes));
    }
    ++m_rowsWritten;
    return writePendingData(false);
}

bool PngEncoder::finish()
{
    closeRepeatBlock();
    m_zlib.next_in = nullptr;
    m_zlib.avail_in = 0;
    deflateBytes(Z_FINISH);
    m_idat += bigEndian(m_adler);
    return writePendingData(true) && writeChunk("IEND", QByteArray());
}

bool PngEncoder::writeChunk(const char *type, const QByteArray &data)
{
    const QByteArray typed = QByteArray(type, 4) + data;
    const quint32 crc = quint32(crc32(crc32(0, nullptr, 0),
                                      reinterpret_cast<const Bytef *>(typed.constData()),
                                      uInt(typed.size())));
    const QByteArray chunk = bigEndian(quint32(data.size())) + typed + bigEndian(crc);
    if (!m_failed && m_device->write(chunk) != chunk.size())
        m_failed = true;
    return !m_failed;
}

// Whole IDAT chunks as the compressed bytes come, the rest at the end.
bool PngEncoder::writePendingData(bool all)
{
    while (!m_failed && (m_idat.size() >= idatSize || (all && !m_idat.isEmpty()))) {
        const int length = qMin(m_idat.size(), idatSize);
        writeChunk("IDAT", m_idat.left(length));
        m_idat.remove(0, length);
    }
    return !m_failed;
}

void PngEncoder::compressChangedRow(const uchar *rgba)
{
    closeRepeatBlock();
    const auto *previous = reinterpret_cast<const uchar *>(m_previous.constData());
    auto *filtered = reinterpret_cast<uchar *>(m_filtered.data()) + 1;
    // Eight bytes at a time, which the compiler does not do by itself here.
    qint64 i = 0;
    for (; i + 8 <= m_rowBytes; i += 8) {
        quint64 a;
        quint64 b;
        std::memcpy(&a, rgba + i, 8);
        std::memcpy(&b, previous + i, 8);
        const quint64 difference = subtractBytes(a, b);
        std::memcpy(filtered + i, &difference, 8);
    }
    for (; i < m_rowBytes; ++i)
        filtered[i] = uchar(rgba[i] - previous[i]);
    m_adler = quint32(adler32(m_adler, reinterpret_cast<const Bytef *>(m_filtered.constData()),
                              uInt(m_filtered.size())));
    m_zlib.next_in = reinterpret_cast<Bytef *>(m_filtered.data());
    m_zlib.avail_in = uInt(m_filtered.size());
    deflateBytes(Z_NO_FLUSH);
}

// Runs zlib over its input into m_idat, then as `flush` asks.
void PngEncoder::deflateBytes(int flush)
{
    const int chunk = 1 << 16;
    do {
        const int before = m_idat.size();
        m_idat.resize(before + chunk);
        m_zlib.next_out = reinterpret_cast<Bytef *>(m_idat.data() + before);
        m_zlib.avail_out = uInt(chunk);
        deflate(&m_zlib, flush);
        m_idat.resize(before + chunk - int(m_zlib.avail_out));
    } while (m_zlib.avail_out == 0);
}

// The row's filtered bytes are the filter byte and zeros: the filter byte
// and one zero as literals, then the other zeros as copies of the byte
// before, in a fixed-code block that stays open while rows repeat.
void PngEncoder::writeRepeatedRow()
{
    if (!m_inRepeatBlock) {
        // zlib's blocks end on a byte boundary, and its later blocks refer
        // to nothing before this point, which its history does not hold.
        deflateBytes(Z_FULL_FLUSH);
        putBits(0, 1); // not the last block
        putBits(1, 2); // fixed codes
        m_inRepeatBlock = true;
    }
    putCode(literalCode(upFilter), 8);
    putCode(literalCode(0), 8);
    putZeroRun(m_rowBytes - 1);

    // The checksum of a filter byte then n zeros: the running sum gains
    // the filter byte, the sum of sums gains it once, then n times the
    // running sum.
    quint32 a = m_adler & 0xffff;
    quint32 b = m_adler >> 16;
    a = (a + upFilter) % adlerModulus;
    b = quint32((quint64(b) + a + quint64(m_rowBytes) * a) % adlerModulus);
    m_adler = (b << 16) | a;
}

void PngEncoder::putZeroRun(qint64 length)
{
    for (; length >= maxMatch; length -= maxMatch) {
        putCode(0xc5, 8); // symbol 285
        putCode(distanceOneCode, 5);
    }
    if (length < 3) {
        for (; length > 0; --length)
            putCode(literalCode(0), 8);
        return;
    }
    int index = 27;
    while (lengthBase[index] > length)
        --index;
    const int symbol = 257 + index;
    if (symbol <= 279)
        putCode(quint32(symbol - 256), 7);
    else
        putCode(quint32(0xc0 + symbol - 280), 8);
    putBits(quint32(length - lengthBase[index]), lengthExtraBits[index]);
    putCode(distanceOneCode, 5);
}

// Ends the open block, then aligns on a byte with an empty stored block,
// as zlib's own output starts on one.
void PngEncoder::closeRepeatBlock()
{
    if (!m_inRepeatBlock)
        return;
    putCode(endOfBlockCode, 7);
    putBits(0, 3); // not the last block, stored
    if (m_bitCount % 8)
        putBits(0, 8 - m_bitCount % 8);
    putBits(0x0000, 16);
    putBits(0xffff, 16);
    m_inRepeatBlock = false;
}

// Deflate packs bits from the least significant end of each byte.
void PngEncoder::putBits(quint32 bits, int count)
{
    m_bitBuffer |= quint64(bits) << m_bitCount;
    m_bitCount += count;
    while (m_bitCount >= 8) {
        m_idat.append(char(m_bitBuffer & 0xff));
        m_bitBuffer >>= 8;
        m_bitCount -= 8;
    }
}

// Huffman codes go most significant bit first.
void PngEncoder::putCode(quint32 code, int length)
{
    quint32 reversed = 0;
    for (int i = 0; i < length; ++i)
        reversed |= ((code >> i) & 1) << (length - 1 - i);
    putBits(reversed, length);
}
