#include "scene/writeWholeFile.h"

#include "scene/FileReasons.h"

#include <QSaveFile>

bool writeWholeFile(const QString &path, const QByteArray &bytes, QString *reason)
{
    QSaveFile file(path);
    // Unbuffered: Qt 5's QSaveFile::commit() does not notice a failure of the
    // final flush of its write buffer and would replace the old file with a
    // short one. Each write goes straight to the file and fails visibly.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)
        || file.write(bytes) != bytes.size() || !file.commit()) {
        if (reason)
            *reason = fileErrorReason(file, FileAccess::Writing);
        return false;
    }
    return true;
}
