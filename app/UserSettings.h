#ifndef USERSETTINGS_H
#define USERSETTINGS_H

#include <QSettings>

// The user's settings of Pensato (on Linux ~/.config/Pensato/Pensato.conf),
// under the same name whatever the program file is called and whether or
// not the application was given a name. Read afresh by each object, so
// that windows and processes share what any of them writes.
class UserSettings : public QSettings
{
public:
    UserSettings() : QSettings(QStringLiteral("Pensato"), QStringLiteral("Pensato")) {}
};

#endif // USERSETTINGS_H
