#include "io/JsonTextWriter.h"

#include <QLocale>

#include <charconv>
#include <cmath>

void JsonTextWriter::open(char bracket)
{
    beforeValue();
    m_text += bracket;
    m_text += '\n';
    m_filled.append(false);
}

void JsonTextWriter::close(char bracket)
{
    const bool filled = m_filled.takeLast();
    if (filled)
        m_text += '\n';
    indent();
    m_text += bracket;
    if (m_filled.isEmpty())
        m_text += '\n';
}

void JsonTextWriter::indent()
{
    m_text.append(4 * m_filled.size(), ' ');
}

void JsonTextWriter::beforeValue()
{
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (m_filled.isEmpty())
        return; // the document itself
    if (m_filled.last())
        m_text += ",\n";
    m_filled.last() = true;
    indent();
}

void JsonTextWriter::key(QLatin1String key)
{
    beforeValue();
    m_text += '"';
    for (const char c : key) {
        if (uchar(c) < 0x80)
            writeEscapedAscii(c);
        else
            writeUtf8(uchar(c));
    }
    m_text += "\": ";
    m_afterKey = true;
}

void JsonTextWriter::key(const QString &key)
{
    beforeValue();
    writeString(key);
    m_text += ": ";
    m_afterKey = true;
}

void JsonTextWriter::value(bool value)
{
    beforeValue();
    m_text += value ? "true" : "false";
}

void JsonTextWriter::value(int value)
{
    beforeValue();
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    m_text.append(digits, int(end - digits));
}

void JsonTextWriter::value(double value)
{
    // JSON has no infinities or NaN.
    if (!std::isfinite(value)) {
        null();
        return;
    }
    // Whole numbers are written without an exponent, as Qt does (1e16 as
    // 10000000000000000); most are ints, written without a conversion.
    constexpr double uint64Bound = 18446744073709551616.0; // 2^64
    const double size = std::abs(value);
    if (size < 2147483648.0 && std::trunc(value) == value) {
        this->value(int(value));
        return;
    }
    beforeValue();
    const bool whole = size < uint64Bound && double(quint64(size)) == size;
    m_text += QByteArray::number(value, whole ? 'f' : 'g', QLocale::FloatingPointShortest);
}

void JsonTextWriter::value(const QString &value)
{
    beforeValue();
    writeString(value);
}

void JsonTextWriter::null()
{
    beforeValue();
    m_text += "null";
}

void JsonTextWriter::writeString(QStringView string)
{
    m_text += '"';
    const qsizetype size = string.size();
    for (qsizetype i = 0; i < size; ++i) {
        const ushort unit = string.at(i).unicode();
        if (unit < 0x80) {
            writeEscapedAscii(char(unit));
        } else if (QChar::isHighSurrogate(unit) && i + 1 < size && string.at(i + 1).isLowSurrogate()) {
            writeUtf8(QChar::surrogateToUcs4(unit, string.at(i + 1).unicode()));
            ++i;
        } else if (QChar::isSurrogate(unit)) {
            // Half a pair has no UTF-8 form.
            writeHex(unit);
        } else {
            writeUtf8(unit);
        }
    }
    m_text += '"';
}

void JsonTextWriter::writeEscapedAscii(char c)
{
    switch (c) {
    case '"': m_text += "\\\""; break;
    case '\\': m_text += "\\\\"; break;
    case '\b': m_text += "\\b"; break;
    case '\f': m_text += "\\f"; break;
    case '\n': m_text += "\\n"; break;
    case '\r': m_text += "\\r"; break;
    case '\t': m_text += "\\t"; break;
    default:
        if (uchar(c) < 0x20)
            writeHex(uchar(c));
        else
            m_text += c;
        break;
    }
}

void JsonTextWriter::writeHex(ushort unit)
{
    static const char digits[] = "0123456789abcdef";
    m_text += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4)
        m_text += digits[(unit >> shift) & 0xf];
}

void JsonTextWriter::writeUtf8(uint code)
{
    if (code < 0x800) {
        m_text += char(0xc0 | (code >> 6));
    } else {
        if (code < 0x10000) {
            m_text += char(0xe0 | (code >> 12));
        } else {
            m_text += char(0xf0 | (code >> 18));
            m_text += char(0x80 | ((code >> 12) & 0x3f));
        }
        m_text += char(0x80 | ((code >> 6) & 0x3f));
    }
    m_text += char(0x80 | (code & 0x3f));
}
