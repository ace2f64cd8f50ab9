#include "update/UpdateInfo.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

// The text between the first and the second `marker` of `line`, or up to
// its end: the old description format has no stricter rule.
QString valueAfter(const QString &line, const QString &marker)
{
    return line.section(marker, 1, 1);
}

QByteArray digestOf(const QString &line)
{
    static const QRegularExpression digestLine(
        QStringLiteral("^sha256=([0-9A-Fa-f]{64})$"));
    const QRegularExpressionMatch match = digestLine.match(line.trimmed());
    return match.hasMatch() ? match.captured(1).toLower().toLatin1() : QByteArray();
}

} // namespace

UpdateInfo UpdateInfo::fromDescription(const QByteArray &body)
{
    const int end = body.indexOf('\0');
    const QString text = QString::fromUtf8(end < 0 ? body : body.left(end));

    UpdateInfo info;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        if (line.contains(QLatin1String("version=")))
            info.version = valueAfter(line, QStringLiteral("="));
        if (line.contains(QLatin1String("dl=")))
            info.address = valueAfter(line, QStringLiteral("l="));
        if (line.contains(QLatin1String("jor")))
            info.majorText = valueAfter(line, QStringLiteral("jor"));
        const QByteArray digest = digestOf(line);
        if (!digest.isEmpty())
            info.sha256 = digest;
    }
    // A description saved with Windows line ends must mean the same: the
    // major flag too, or "majortrue\r" would silently turn into a minor one.
    for (QString *value : {&info.version, &info.address, &info.majorText})
        value->remove(QLatin1Char('\r'));
    return info;
}

bool UpdateInfo::isOffered(const QString &ownVersion, const QString &ignoredVersion) const
{
    return !version.isEmpty() && version != ownVersion && version != ignoredVersion;
}
