#ifndef SCENEFILE_H
#define SCENEFILE_H

#include <QByteArray>
#include <QJsonObject>
#include <QString>

class SceneText;

// The scene document as bytes and as a file. Failures come back as a French
// reason fit for a message box; nothing here shows anything.

// The document as indented UTF-8 JSON (four spaces, keys in ascending order).
QByteArray encodeSceneDocument(const QJsonObject &top);

// Parses a document. UTF-8 is expected; bytes that are not valid UTF-8 are
// taken in the local 8-bit encoding, as older files were written in it.
// Returns false, with the reason, unless the bytes hold one JSON object.
bool decodeSceneDocument(const QByteArray &bytes, QJsonObject *top, QString *reason);
// The steps of decodeSceneDocument(): the bytes as UTF-8 text without a
// byte order mark, and that text parsed.
QByteArray sceneDocumentUtf8(const QByteArray &bytes);
bool parseSceneDocument(const QByteArray &text, QJsonObject *top, QString *reason);

// Writes the document through a temporary file that replaces the old one
// only once everything is written, so a failure leaves the old file whole.
bool writeSceneFile(const QString &path, const QJsonObject &top, QString *reason);
bool writeSceneFile(const QString &path, const QByteArray &text, QString *reason);

enum class SceneFileRead { Ok, CannotOpen, NotADocument };
SceneFileRead readSceneFile(const QString &path, QJsonObject *top, QString *reason);
// The same, parsing one item at a time as the reader asks: what the
// program uses for large files.
SceneFileRead readSceneFile(const QString &path, SceneText *text, QString *reason);

#endif // SCENEFILE_H
