#include "app/RecentFiles.h"

#include "app/UserSettings.h"

#include <QFileInfo>

namespace {

const QString key = QStringLiteral("recentFiles");

// One spelling per file, so that "./a/../plan.pensascene" and the absolute
// path of the same file make one entry.
QString normalised(const QString &fileName)
{
    return QFileInfo(fileName).absoluteFilePath();
}

} // namespace

QStringList RecentFiles::files() const
{
    return UserSettings().value(key).toStringList().mid(0, maximum);
}

void RecentFiles::add(const QString &fileName)
{
    QStringList list = files();
    if (list.value(0) == normalised(fileName))
        return; // each Ctrl+S of the same file
    list.removeAll(normalised(fileName));
    list.prepend(normalised(fileName));
    store(list.mid(0, maximum));
}

void RecentFiles::remove(const QString &fileName)
{
    QStringList list = files();
    list.removeAll(normalised(fileName));
    store(list);
}

void RecentFiles::clear()
{
    store({});
}

void RecentFiles::store(const QStringList &list)
{
    UserSettings settings;
    if (list.isEmpty())
        settings.remove(key);
    else
        settings.setValue(key, list);
}
