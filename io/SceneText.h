#ifndef SCENETEXT_H
#define SCENETEXT_H

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <QVector>

// A scene document read from its JSON text without the tree of the whole
// file: Qt's tree of a large file takes several times the file's size, and
// the reader needs one item at a time. The text is checked once; the
// top-level members other than "items" are parsed then, and each item is
// parsed when it is asked for, to be let go once read.
//
// Text that the check does not vouch for (unusual numbers, escapes or
// nesting) goes through Qt's parser whole, so that what is read, and the
// reason a text is refused, never depend on the path taken.
class SceneText
{
public:
    // Takes the file's bytes. UTF-8 is expected; bytes that are not valid
    // UTF-8 are taken in the local 8-bit encoding, as older files were
    // written in it. Returns false, with a French reason, unless they hold
    // one JSON object whose "items", if any, are an array.
    bool parse(const QByteArray &bytes, QString *reason);

    // The top-level object without its "items".
    const QJsonObject &members() const { return m_members; }

    int itemCount() const;
    bool isObject(int index) const;
    // The item's "type" when the text gives it as a plain whole number on
    // the item's first level, else unknownType: the item must be parsed.
    static constexpr int unknownType = -1;
    int peekedType(int index) const;
    // The item, parsed now; empty when it is no object.
    QJsonObject object(int index) const;

private:
    struct Slice
    {
        int offset;
        int length;
        int type;
    };

    bool split();
    bool parseWhole(QString *reason);

    QByteArray m_text;
    QJsonObject m_members;
    QVector<Slice> m_items;
    // The items when the text went through Qt's parser whole.
    QJsonArray m_parsedItems;
    bool m_parsedWhole = false;
};

#endif // SCENETEXT_H
