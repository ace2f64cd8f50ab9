#ifndef JSONTEXTWRITER_H
#define JSONTEXTWRITER_H

#include <QByteArray>
#include <QLatin1String>
#include <QString>
#include <QVector>

// Writes JSON text value by value, exactly as
// QJsonDocument::toJson(QJsonDocument::Indented) writes a document, but
// without building one first: a large diagram is written at a fraction of
// the cost of its QJsonObject tree. The keys of an object must come in
// ascending order, the order in which QJsonObject keeps (and Qt writes)
// them.
class JsonTextWriter
{
public:
    void beginObject() { open('{'); }
    void endObject() { close('}'); }
    void beginArray() { open('['); }
    void endArray() { close(']'); }

    void key(QLatin1String key);
    void key(const QString &key);

    void value(bool value);
    void value(int value);
    void value(double value);
    void value(const QString &value);
    void value(const char *) = delete; // would be taken for a bool
    void null();

    template <typename T>
    void member(const char *name, const T &v)
    {
        key(QLatin1String(name));
        value(v);
    }

    // The text so far; a finished document ends with a newline.
    const QByteArray &text() const { return m_text; }

private:
    void open(char bracket);
    void close(char bracket);
    // The separator and indentation of an array element; nothing after a key.
    void beforeValue();
    void indent();
    void writeString(QStringView string);
    void writeEscapedAscii(char c);
    void writeHex(ushort unit);
    void writeUtf8(uint code);

    QByteArray m_text;
    // Per open container: whether it has a member yet.
    QVector<bool> m_filled;
    bool m_afterKey = false;
};

#endif // JSONTEXTWRITER_H
