#include "update/UpdateChecker.h"

#include "update/isWebAddress.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

namespace {

QString &currentAddress()
{
    static QString address = QStringLiteral(PENSATO_UPDATE_SERVER);
    return address;
}

} // namespace

UpdateChecker::UpdateChecker(QObject *parent)
    : QObject(parent)
{
}

QString UpdateChecker::serverAddress()
{
    return currentAddress();
}

void UpdateChecker::setServerAddress(const QString &address)
{
    currentAddress() = address;
}

bool UpdateChecker::check()
{
    QString base = serverAddress();
    if (base.isEmpty())
        return false;
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    const QUrl url(base + QStringLiteral("/pensato/version.ini"));
    if (!isWebAddress(url)) {
        qWarning("UpdateChecker::check: the update server address must be an http(s) address");
        return false;
    }
    // Made only now: without a server the start pays nothing for networking.
    if (!manager) {
        manager = new QNetworkAccessManager(this);
        connect(manager, &QNetworkAccessManager::finished, this, &UpdateChecker::finished);
    }
    manager->get(QNetworkRequest(url));
    return true;
}
