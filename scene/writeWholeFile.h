#ifndef WRITEWHOLEFILE_H
#define WRITEWHOLEFILE_H

#include <QByteArray>
#include <QString>

// Writes the bytes through a temporary file that replaces the file at
// `path` only once every byte is on disk, so that a failure (missing or
// read-only folder, full disk) leaves an old file whole and no half-written
// one behind. On failure, `reason` (when given) receives a French reason
// fit for a message box.
bool writeWholeFile(const QString &path, const QByteArray &bytes, QString *reason = nullptr);

#endif // WRITEWHOLEFILE_H
