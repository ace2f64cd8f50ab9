#include "update/ConfigFile.h"

#include "scene/writeWholeFile.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QStringList>
#include <QTextStream>

namespace {

// Fills `lines` with the file's lines (none when there is no file); false
// when the file exists but cannot be read.
bool readLines(const QString &path, QStringList *lines)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return !file.exists();
    *lines = QTextStream(&file).readAll().split(QLatin1Char('\n'));
    return true;
}

int indexOfKey(const QStringList &lines, const QString &key)
{
    const QString prefix = key + QLatin1Char('=');
    for (int i = 0; i < lines.size(); ++i) {
        if (lines.at(i).contains(prefix))
            return i;
    }
    return -1;
}

} // namespace

ConfigFile::ConfigFile(const QString &path)
    : filePath(path)
{
}

QString ConfigFile::defaultPath()
{
    const QString folder = QStandardPaths::locate(QStandardPaths::AppDataLocation, QString(),
                                                  QStandardPaths::LocateDirectory);
    const QString name = QStringLiteral("config.ini");
    return folder.isEmpty() ? name : QDir(folder).filePath(name);
}

QString ConfigFile::read(const QString &key) const
{
    QStringList lines;
    if (!readLines(filePath, &lines))
        return QString();
    const int index = indexOfKey(lines, key);
    return index < 0 ? QString() : lines.at(index).section(QLatin1Char('='), 1, 1);
}

bool ConfigFile::write(const QString &key, const QString &value) const
{
    QStringList lines;
    // An unreadable file is left alone rather than replaced by this one setting.
    if (!readLines(filePath, &lines))
        return false;
    const int index = indexOfKey(lines, key);
    if (index >= 0)
        lines.removeAt(index);
    lines.append(key + QLatin1Char('=') + value);

    QByteArray bytes;
    for (const QString &line : qAsConst(lines))
        bytes += line.toUtf8() + '\n';
    return writeWholeFile(filePath, bytes);
}
