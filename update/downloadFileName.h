#ifndef DOWNLOADFILENAME_H
#define DOWNLOADFILENAME_H

#include <QString>

// The name under which the file at `address` is saved in the temporary
// folder: the last segment of the address's path, without query or
// fragment. A name that could leave the folder or that no platform can hold
// (separators of any platform, "..", drive colons, control characters,
// trailing dots or spaces, empty) gives the fixed name "pensato-update.exe".
QString downloadFileName(const QString &address);

#endif // DOWNLOADFILENAME_H
