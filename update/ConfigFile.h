#ifndef CONFIGFILE_H
#define CONFIGFILE_H

#include <QString>

// The settings file `config.ini`: text lines of the form key=value.
class ConfigFile
{
public:
    // `path` defaults to config.ini in the first existing application-data
    // folder, or in the current folder when there is none.
    explicit ConfigFile(const QString &path = defaultPath());

    QString path() const { return filePath; }

    // The value of the first line holding key + "=", up to a further "=";
    // empty when the file or the key is missing.
    QString read(const QString &key) const;
    // Replaces the first line holding key + "=" by key=value, at the end.
    // The file is replaced only once the new text is completely written, so
    // an interrupted write keeps the old settings; returns false on failure
    // (nothing is changed then).
    bool write(const QString &key, const QString &value) const;

    static QString defaultPath();

private:
    QString filePath;
};

#endif // CONFIGFILE_H
