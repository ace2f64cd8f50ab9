#ifndef FILEREASONS_H
#define FILEREASONS_H

#include <QString>

class QFileDevice;
class QJsonParseError;

// French reasons fit for a message box, with the system's own wording
// kept in parentheses for whoever needs the detail.

enum class FileAccess { Reading, Writing };
// Why `file` could not be opened, read or written.
QString fileErrorReason(const QFileDevice &file, FileAccess access);
// Why bytes are not a JSON document, with the position of the fault.
QString jsonErrorReason(const QJsonParseError &error);

#endif // FILEREASONS_H
