#include "app/RecoveryFile.h"

#include "io/JsonTextWriter.h"
#include "io/SceneDocument.h"
#include "io/SceneFile.h"
#include "scene/DiagramDocument.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// A top-level key that readers of scene documents pass over.
const QString fileNameKey = QStringLiteral("recoveryOf");

QString lockPath(const QString &path)
{
    return path + QStringLiteral(".lock");
}

} // namespace

QString RecoveryFile::standardFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
           + QStringLiteral("/recovery");
}

std::unique_ptr<RecoveryFile> RecoveryFile::create(const QString &folder)
{
    // Numbered within the process, for its windows; a file of an earlier
    // process that had the same id is never taken over.
    static QAtomicInt lastNumber;
    QString path;
    do {
        path = QDir(folder).filePath(QStringLiteral("pensato-%1-%2.pensascene")
                                         .arg(QCoreApplication::applicationPid())
                                         .arg(lastNumber.fetchAndAddRelaxed(1) + 1));
    } while (QFileInfo::exists(path) || QFileInfo::exists(lockPath(path)));
    return std::unique_ptr<RecoveryFile>(new RecoveryFile(path));
}

std::vector<std::unique_ptr<RecoveryFile>> RecoveryFile::leftBehind(const QString &folder)
{
    std::vector<std::unique_ptr<RecoveryFile>> files;
    const QFileInfoList found = QDir(folder).entryInfoList(
        {QStringLiteral("pensato-*.pensascene")}, QDir::Files, QDir::Time);
    for (const QFileInfo &info : found) {
        std::unique_ptr<RecoveryFile> file(new RecoveryFile(info.filePath()));
        // Taken only when no living process holds it: QLockFile removes
        // the lock of a process that is gone.
        if (file->m_lock.tryLock(0))
            files.push_back(std::move(file));
    }
    return files;
}

QString RecoveryFile::fileNameIn(const QJsonObject &top)
{
    return top.value(fileNameKey).toString();
}

RecoveryFile::RecoveryFile(const QString &path)
    : m_path(path), m_lock(lockPath(path))
{
    // By default a lock older than 30 seconds counts as abandoned, even
    // when its process is alive: a window holds its lock for hours.
    m_lock.setStaleLockTime(0);
}

RecoveryFile::~RecoveryFile() = default;

bool RecoveryFile::exists() const
{
    return QFileInfo::exists(m_path);
}

QDateTime RecoveryFile::writtenAt() const
{
    return QFileInfo(m_path).lastModified();
}

bool RecoveryFile::write(const DiagramDocument &document, QString *reason)
{
    if (!m_lock.isLocked()) {
        if (!QDir().mkpath(QFileInfo(m_path).path())) {
            if (reason)
                *reason = QCoreApplication::translate(
                              "RecoveryFile", "le dossier « %1 » ne peut pas être créé")
                              .arg(QFileInfo(m_path).path());
            return false;
        }
        if (!m_lock.tryLock(0)) {
            if (reason)
                *reason = QCoreApplication::translate(
                    "RecoveryFile", "le fichier de récupération est verrouillé par un autre "
                                    "processus");
            return false;
        }
    }
    JsonTextWriter json;
    json.beginObject();
    writeDocumentMembers(json, *document.scene());
    json.key(fileNameKey); // after the scene's own keys, which all sort before it
    json.value(document.fileName());
    json.endObject();
    return writeSceneFile(m_path, json.text(), reason);
}

void RecoveryFile::remove()
{
    QFile::remove(m_path);
}
