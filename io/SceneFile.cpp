#include "io/SceneFile.h"

#include "io/SceneText.h"
#include "io/indentedJson.h"
#include "scene/FileReasons.h"
#include "scene/writeWholeFile.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QTextCodec>

namespace {

const QByteArray utf8Bom("\xEF\xBB\xBF");

QByteArray toUtf8(const QByteArray &bytes)
{
    QTextCodec *utf8 = QTextCodec::codecForName("UTF-8");
    QTextCodec::ConverterState state;
    utf8->toUnicode(bytes.constData(), bytes.size(), &state);
    if (state.invalidChars == 0)
        return bytes;
    return QTextCodec::codecForLocale()->toUnicode(bytes).toUtf8();
}

// The file's bytes, or false with the reason they cannot be read.
bool readBytes(const QString &path, QByteArray *bytes, QString *reason)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *reason = fileErrorReason(file, FileAccess::Reading);
        return false;
    }
    *bytes = file.readAll();
    return true;
}

} // namespace

QByteArray encodeSceneDocument(const QJsonObject &top)
{
    return indentedJson(top);
}

QByteArray sceneDocumentUtf8(const QByteArray &bytes)
{
    QByteArray text = toUtf8(bytes);
    if (text.startsWith(utf8Bom))
        text.remove(0, utf8Bom.size());
    return text;
}

bool decodeSceneDocument(const QByteArray &bytes, QJsonObject *top, QString *reason)
{
    return parseSceneDocument(sceneDocumentUtf8(bytes), top, reason);
}

bool parseSceneDocument(const QByteArray &text, QJsonObject *top, QString *reason)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text, &error);
    if (error.error != QJsonParseError::NoError) {
        *reason = jsonErrorReason(error);
        return false;
    }
    if (!document.isObject()) {
        *reason = QObject::tr("le document ne contient pas d'objet JSON au premier niveau");
        return false;
    }
    const QJsonValue items = document.object().value(QLatin1String("items"));
    if (!items.isUndefined() && !items.isArray()) {
        *reason = QObject::tr("la liste des objets (« items ») n'est pas un tableau JSON");
        return false;
    }
    *top = document.object();
    return true;
}

bool writeSceneFile(const QString &path, const QJsonObject &top, QString *reason)
{
    return writeSceneFile(path, encodeSceneDocument(top), reason);
}

bool writeSceneFile(const QString &path, const QByteArray &text, QString *reason)
{
    return writeWholeFile(path, text, reason);
}

SceneFileRead readSceneFile(const QString &path, QJsonObject *top, QString *reason)
{
    QByteArray bytes;
    if (!readBytes(path, &bytes, reason))
        return SceneFileRead::CannotOpen;
    return decodeSceneDocument(bytes, top, reason) ? SceneFileRead::Ok
                                                   : SceneFileRead::NotADocument;
}

SceneFileRead readSceneFile(const QString &path, SceneText *text, QString *reason)
{
    QByteArray bytes;
    if (!readBytes(path, &bytes, reason))
        return SceneFileRead::CannotOpen;
    return text->parse(bytes, reason) ? SceneFileRead::Ok : SceneFileRead::NotADocument;
}
