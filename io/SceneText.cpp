#include "io/SceneText.h"

#include "io/SceneFile.h"

#include <QJsonDocument>
#include <QSet>

#include <cstring>

namespace {

// Beyond these the text goes through Qt's parser whole, which has its own
// limits and number rules.
const int deepestNesting = 256;
const int longestNumber = 64;
const int longestExponent = 2;
const int longestWholeType = 9;

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool hasBackslash(QLatin1String text)
{
    return std::memchr(text.data(), '\\', size_t(text.size())) != nullptr;
}

// A check of JSON text that vouches only for what Qt's parser surely reads
// the same way: it refuses control characters in strings, escaped
// surrogates, numbers that may not be finite and deep nesting, all of which
// are then left to Qt.
class JsonCheck
{
public:
    explicit JsonCheck(const QByteArray &text)
        : m_text(text.constData())
        , m_size(text.size())
    {
    }

    int at()
    {
        skipSpace();
        return m_at;
    }
    bool atEnd() { return at() == m_size; }
    bool next(char c) { return at() < m_size && m_text[m_at] == c; }
    bool take(char c)
    {
        if (!next(c))
            return false;
        ++m_at;
        return true;
    }

    // A string; `raw` receives its bytes between the quotes, escapes as
    // they are written.
    bool string(QLatin1String *raw = nullptr)
    {
        if (!take('"'))
            return false;
        const int start = m_at;
        while (m_at < m_size) {
            const uchar c = uchar(m_text[m_at]);
            if (c == '"') {
                if (raw)
                    *raw = QLatin1String(m_text + start, m_at - start);
                ++m_at;
                return true;
            }
            if (c < 0x20 || (c == '\\' && !escape()))
                return false;
            if (c != '\\')
                ++m_at;
        }
        return false;
    }

    // Any value. `type`, when given and the value is an object, receives the
    // object's "type" when it is written as a plain whole number, else
    // SceneText::unknownType.
    bool value(int depth, int *type = nullptr)
    {
        if (at() == m_size)
            return false;
        switch (m_text[m_at]) {
        case '{':
            return object(depth, type);
        case '[':
            return array(depth);
        case '"':
            return string();
        case 't':
            return word("true");
        case 'f':
            return word("false");
        case 'n':
            return word("null");
        default:
            return number(nullptr);
        }
    }

    // A number; `whole` receives it when it is written as a plain whole
    // number of a few digits, else SceneText::unknownType.
    bool number(int *whole)
    {
        const int start = at();
        if (nextRaw('-'))
            ++m_at;
        const int digitsStart = m_at;
        if (nextRaw('0'))
            ++m_at;
        else if (!digits())
            return false;
        const int digitsEnd = m_at;
        if (nextRaw('.')) {
            ++m_at;
            if (!digits())
                return false;
        }
        if (nextRaw('e') || nextRaw('E')) {
            ++m_at;
            if (nextRaw('+') || nextRaw('-'))
                ++m_at;
            const int exponentStart = m_at;
            if (!digits() || m_at - exponentStart > longestExponent)
                return false;
        }
        if (m_at - start > longestNumber)
            return false;
        if (whole) {
            const bool plain = digitsStart == start && digitsEnd == m_at
                               && m_at - start <= longestWholeType;
            *whole = plain ? QByteArray::fromRawData(m_text + start, m_at - start).toInt()
                           : SceneText::unknownType;
        }
        return true;
    }

private:
    void skipSpace()
    {
        while (m_at < m_size && isSpace(m_text[m_at]))
            ++m_at;
    }

    // The next character, without skipping spaces: inside a number.
    bool nextRaw(char c) const { return m_at < m_size && m_text[m_at] == c; }

    bool digits()
    {
        const int start = m_at;
        while (m_at < m_size && isDigit(m_text[m_at]))
            ++m_at;
        return m_at > start;
    }

    bool word(const char *expected)
    {
        const int length = int(qstrlen(expected));
        if (m_size - m_at < length || qstrncmp(m_text + m_at, expected, uint(length)) != 0)
            return false;
        m_at += length;
        return true;
    }

    // After a backslash.
    bool escape()
    {
        if (++m_at >= m_size)
            return false;
        const char kind = m_text[m_at++];
        if (kind != 0 && std::strchr("\"\\/bfnrt", kind))
            return true;
        if (kind != 'u' || m_size - m_at < 4)
            return false;
        bool hex = false;
        const uint code = QByteArray::fromRawData(m_text + m_at, 4).toUInt(&hex, 16);
        m_at += 4;
        return hex && (code < 0xD800 || code > 0xDFFF);
    }

    bool object(int depth, int *type)
    {
        if (depth >= deepestNesting || !take('{'))
            return false;
        int found = SceneText::unknownType;
        bool unclear = false;
        if (!take('}')) {
            do {
                QLatin1String key;
                if (!string(&key) || !take(':'))
                    return false;
                if (type && key == QLatin1String("type")) {
                    unclear = unclear || found != SceneText::unknownType;
                    int whole = SceneText::unknownType;
                    const bool numeric = next('-') || (at() < m_size && isDigit(m_text[m_at]));
                    if (!(numeric ? number(&whole) : value(depth + 1)))
                        return false;
                    found = whole;
                    unclear = unclear || whole == SceneText::unknownType;
                    continue;
                }
                // An escaped key may spell "type" too.
                unclear = unclear || hasBackslash(key);
                if (!value(depth + 1))
                    return false;
            } while (take(','));
            if (!take('}'))
                return false;
        }
        if (type)
            *type = unclear ? SceneText::unknownType : found;
        return true;
    }

    bool array(int depth)
    {
        if (depth >= deepestNesting || !take('['))
            return false;
        if (take(']'))
            return true;
        do {
            if (!value(depth + 1))
                return false;
        } while (take(','));
        return take(']');
    }

    const char *m_text;
    int m_size;
    int m_at = 0;
};

} // namespace

bool SceneText::parse(const QByteArray &bytes, QString *reason)
{
    m_text = sceneDocumentUtf8(bytes);
    m_members = QJsonObject();
    m_items.clear();
    m_parsedItems = QJsonArray();
    m_parsedWhole = false;
    if (split())
        return true;
    m_items.clear();
    return parseWhole(reason);
}

// Checks the text and finds its items, or returns false when the check does
// not vouch for it.
bool SceneText::split()
{
    JsonCheck check(m_text);
    if (!check.take('{'))
        return false;
    QSet<QByteArray> keys;
    int itemsStart = -1;
    int itemsEnd = -1;
    if (!check.take('}')) {
        do {
            QLatin1String raw;
            if (!check.string(&raw) || hasBackslash(raw) || !check.take(':'))
                return false;
            const QByteArray key(raw.data(), raw.size());
            if (keys.contains(key))
                return false;
            keys.insert(key);
            if (key != "items") {
                if (!check.value(1))
                    return false;
                continue;
            }
            itemsStart = check.at();
            if (!check.take('['))
                return false; // Qt's parser says why
            if (!check.take(']')) {
                do {
                    Slice item{check.at(), 0, unknownType};
                    if (!check.value(2, &item.type))
                        return false;
                    item.length = check.at() - item.offset;
                    m_items.append(item);
                } while (check.take(','));
                if (!check.take(']'))
                    return false;
            }
            itemsEnd = check.at();
        } while (check.take(','));
        if (!check.take('}'))
            return false;
    }
    if (!check.atEnd())
        return false;

    // The members, from the text with the items left out.
    const QByteArray rest = itemsStart < 0
        ? m_text
        : m_text.left(itemsStart) + "[]" + m_text.mid(itemsEnd);
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(rest, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return false;
    m_members = document.object();
    m_members.remove(QLatin1String("items"));
    return true;
}

bool SceneText::parseWhole(QString *reason)
{
    QJsonObject top;
    if (!parseSceneDocument(m_text, &top, reason))
        return false;
    m_parsedItems = top.take(QLatin1String("items")).toArray();
    m_members = top;
    m_parsedWhole = true;
    m_text.clear();
    return true;
}

int SceneText::itemCount() const
{
    return m_parsedWhole ? m_parsedItems.size() : m_items.size();
}

bool SceneText::isObject(int index) const
{
    if (m_parsedWhole)
        return m_parsedItems.at(index).isObject();
    return m_text.at(m_items.at(index).offset) == '{';
}

int SceneText::peekedType(int index) const
{
    return m_parsedWhole ? unknownType : m_items.at(index).type;
}

QJsonObject SceneText::object(int index) const
{
    if (m_parsedWhole)
        return m_parsedItems.at(index).toObject();
    if (!isObject(index))
        return {};
    const Slice &item = m_items.at(index);
    return QJsonDocument::fromJson(QByteArray::fromRawData(m_text.constData() + item.offset,
                                                           item.length))
        .object();
}
