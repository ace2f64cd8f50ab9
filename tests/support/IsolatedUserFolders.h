#ifndef ISOLATEDUSERFOLDERS_H
#define ISOLATEDUSERFOLDERS_H

#include <QByteArray>
#include <QTemporaryDir>

// Points the user's settings, data and cache folders (XDG_CONFIG_HOME,
// XDG_DATA_HOME, XDG_CACHE_HOME) into a temporary folder of the test
// program's own, so that no test reads or writes the user's settings,
// recent files or recovery files. Runs before main(), ahead of anything
// that reads them; Qt caches the settings folder at its first use. A child
// process that inherits isolated folders keeps the ones it was given.
inline void isolateUserFolders()
{
    static const char marker[] = "PENSATO_TEST_USER_FOLDERS";
    if (qEnvironmentVariableIsSet(marker))
        return;
    static QTemporaryDir home;
    const QByteArray root = home.path().toLocal8Bit();
    qputenv("XDG_CONFIG_HOME", root + "/config");
    qputenv("XDG_DATA_HOME", root + "/data");
    qputenv("XDG_CACHE_HOME", root + "/cache");
    qputenv(marker, root);
}

namespace {
[[maybe_unused]] const bool userFoldersIsolated = (isolateUserFolders(), true);
}

#endif // ISOLATEDUSERFOLDERS_H
