#ifndef RECOVERYFILE_H
#define RECOVERYFILE_H

#include <QDateTime>
#include <QJsonObject>
#include <QLockFile>
#include <QString>

#include <memory>
#include <vector>

class DiagramDocument;

// A recovery file: an open diagram written aside by the autosave, where a
// crash or a power cut cannot take it. A process that uses one holds a
// lock on it (a QLockFile "<file>.lock" beside it, naming the process), so
// that the file of a process that died can be told from a living one's.
class RecoveryFile
{
public:
    // AppDataLocation + "/recovery".
    static QString standardFolder();

    // This window's file in `folder`: "pensato-<process id>-<number>.pensascene"
    // under a name that no file there has. Nothing is written or locked
    // before write().
    static std::unique_ptr<RecoveryFile> create(const QString &folder);
    // The files in `folder` whose process has gone, newest first, each
    // locked for as long as its object lives, so that no other process
    // starting at the same time offers it too.
    static std::vector<std::unique_ptr<RecoveryFile>> leftBehind(const QString &folder);

    // The file the diagram of a recovery document belonged to; empty for
    // one never saved.
    static QString fileNameIn(const QJsonObject &top);

    // Releases the lock and keeps the file.
    ~RecoveryFile();
    RecoveryFile(const RecoveryFile &) = delete;
    RecoveryFile &operator=(const RecoveryFile &) = delete;

    QString path() const { return m_path; }
    bool exists() const;
    // When the file was last written.
    QDateTime writtenAt() const;

    // The document's scene and the name of its file, written through the
    // safe writer: a failure (or a crash) leaves the last recovery file
    // whole. False, with a French reason, when it cannot be written.
    bool write(const DiagramDocument &document, QString *reason = nullptr);
    // Deletes the file; the lock stays while the object lives.
    void remove();

private:
    explicit RecoveryFile(const QString &path);

    QString m_path;
    QLockFile m_lock;
};

#endif // RECOVERYFILE_H
