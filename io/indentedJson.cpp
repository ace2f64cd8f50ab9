#include "io/indentedJson.h"

#include <QJsonArray>
#include <QLocale>

#include <charconv>
#include <cmath>

namespace {

class IndentedWriter
{
public:
    QByteArray text;

    void writeObject(const QJsonObject &object, int depth)
    {
        text += "{\n";
        for (auto it = object.begin(); it != object.end(); ++it) {
            if (it != object.begin())
                text += ",\n";
            indent(depth + 1);
            writeString(it.key());
            text += ": ";
            writeValue(it.value(), depth + 1);
        }
        close(object.isEmpty(), '}', depth);
    }

private:
    void indent(int depth) { text.append(4 * depth, ' '); }

    void close(bool empty, char bracket, int depth)
    {
        if (!empty)
            text += '\n';
        indent(depth);
        text += bracket;
    }

    void writeArray(const QJsonArray &array, int depth)
    {
        text += "[\n";
        for (int i = 0; i < array.size(); ++i) {
            if (i > 0)
                text += ",\n";
            indent(depth + 1);
            writeValue(array.at(i), depth + 1);
        }
        close(array.isEmpty(), ']', depth);
    }

    void writeValue(const QJsonValue &value, int depth)
    {
        switch (value.type()) {
        case QJsonValue::Bool:
            text += value.toBool() ? "true" : "false";
            break;
        case QJsonValue::Double:
            writeNumber(value.toDouble());
            break;
        case QJsonValue::String:
            writeString(value.toString());
            break;
        case QJsonValue::Array:
            writeArray(value.toArray(), depth);
            break;
        case QJsonValue::Object:
            writeObject(value.toObject(), depth);
            break;
        default:
            text += "null";
            break;
        }
    }

    void writeNumber(double number)
    {
        // Whole numbers are written without an exponent, as Qt does
        // (1e16 as 10000000000000000); JSON has no infinities or NaN.
        if (!qIsFinite(number)) {
            text += "null";
            return;
        }
        constexpr double exactBound = 9007199254740992.0; // 2^53: every integer below is a double
        constexpr double uint64Bound = 18446744073709551616.0; // 2^64
        const double size = std::abs(number);
        if (size < exactBound && std::trunc(number) == number) {
            // Most numbers of a diagram: ids, positions, colours.
            char digits[24];
            const auto end = std::to_chars(digits, digits + sizeof digits, qint64(number)).ptr;
            text.append(digits, int(end - digits));
            return;
        }
        const bool whole = size < uint64Bound && double(quint64(size)) == size;
        text += QByteArray::number(number, whole ? 'f' : 'g', QLocale::FloatingPointShortest);
    }

    void writeHex(ushort unit)
    {
        static const char digits[] = "0123456789abcdef";
        text += "\\u";
        for (int shift = 12; shift >= 0; shift -= 4)
            text += digits[(unit >> shift) & 0xf];
    }

    void writeString(const QString &string)
    {
        text += '"';
        const int size = string.size();
        for (int i = 0; i < size; ++i) {
            const ushort unit = string.at(i).unicode();
            if (unit < 0x80) {
                writeAscii(char(unit));
            } else if (QChar::isHighSurrogate(unit) && i + 1 < size
                       && string.at(i + 1).isLowSurrogate()) {
                writeUtf8(QChar::surrogateToUcs4(unit, string.at(i + 1).unicode()));
                ++i;
            } else if (QChar::isSurrogate(unit)) {
                // Half a pair has no UTF-8 form.
                writeHex(unit);
            } else {
                writeUtf8(unit);
            }
        }
        text += '"';
    }

    void writeAscii(char c)
    {
        switch (c) {
        case '"': text += "\\\""; break;
        case '\\': text += "\\\\"; break;
        case '\b': text += "\\b"; break;
        case '\f': text += "\\f"; break;
        case '\n': text += "\\n"; break;
        case '\r': text += "\\r"; break;
        case '\t': text += "\\t"; break;
        default:
            if (uchar(c) < 0x20)
                writeHex(uchar(c));
            else
                text += c;
            break;
        }
    }

    void writeUtf8(uint code)
    {
        if (code < 0x800) {
            text += char(0xc0 | (code >> 6));
        } else {
            if (code < 0x10000) {
                text += char(0xe0 | (code >> 12));
            } else {
                text += char(0xf0 | (code >> 18));
                text += char(0x80 | ((code >> 12) & 0x3f));
            }
            text += char(0x80 | ((code >> 6) & 0x3f));
        }
        text += char(0x80 | (code & 0x3f));
    }
};

} // namespace

QByteArray indentedJson(const QJsonObject &object)
{
    IndentedWriter writer;
    writer.writeObject(object, 0);
    writer.text += '\n';
    return writer.text;
}
