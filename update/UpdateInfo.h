#ifndef UPDATEINFO_H
#define UPDATEINFO_H

#include <QByteArray>
#include <QString>

// What the update server's description ("/pensato/version.ini") announces.
struct UpdateInfo
{
    QString version;   // newest version, compared as plain text
    QString address;   // where the new program file is downloaded from
    QString majorText; // the update is major exactly when this is "true"
    QByteArray sha256; // expected digest of the file, lower-case hex; empty when not given

    // Reads the description: one setting per line, a later line overriding
    // an earlier one, carriage returns allowed; text after a zero byte is
    // ignored.
    static UpdateInfo fromDescription(const QByteArray &body);

    bool isMajor() const { return majorText == QLatin1String("true"); }
    // True when the announced version is one to offer to a program of
    // `ownVersion` whose user chose to ignore `ignoredVersion`.
    bool isOffered(const QString &ownVersion, const QString &ignoredVersion) const;
};

#endif // UPDATEINFO_H
