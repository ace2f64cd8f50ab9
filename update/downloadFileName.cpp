#include "update/downloadFileName.h"

#include <QRegularExpression>
#include <QUrl>

namespace {

// Longest name common file systems accept.
constexpr int maximumNameLength = 255;

bool isUsableName(const QString &name)
{
    // Characters Windows refuses in names, and control characters anywhere.
    static const QRegularExpression forbidden(QStringLiteral("[<>:\"|?*\\x00-\\x1f]"));
    return !name.isEmpty() && name.size() <= maximumNameLength
        && !name.contains(forbidden)
        // Windows drops trailing dots and spaces, so "..." would name the folder itself.
        && !name.endsWith(QLatin1Char('.')) && !name.endsWith(QLatin1Char(' '));
}

} // namespace

QString downloadFileName(const QString &address)
{
    // Decoded, so that "%2F" and "%5C" are seen as the separators they become.
    const QString path = QUrl(address, QUrl::TolerantMode).path(QUrl::FullyDecoded);
    const int separator = qMax(path.lastIndexOf(QLatin1Char('/')),
                               path.lastIndexOf(QLatin1Char('\\')));
    const QString name = path.mid(separator + 1);
    return isUsableName(name) ? name : QStringLiteral("pensato-update.exe");
}
