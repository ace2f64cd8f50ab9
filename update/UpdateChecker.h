#ifndef UPDATECHECKER_H
#define UPDATECHECKER_H

#include <QObject>
#include <QString>

class QNetworkAccessManager;
class QNetworkReply;

// Asks the update server for its description "/pensato/version.ini", in
// the background: the answer comes later by `finished`, on the GUI thread.
class UpdateChecker : public QObject
{
    Q_OBJECT

public:
    explicit UpdateChecker(QObject *parent = nullptr);

    // Base address of the update server ("http://host:port"), set when the
    // program is built; empty means there is no server to ask.
    static QString serverAddress();
    // Replaces the built-in address for the rest of the process (tests point
    // it at their own local server).
    static void setServerAddress(const QString &address);

    // Sends the request; returns false, sending nothing, when there is no
    // server address or it is not a plain web address.
    bool check();

signals:
    // The reply is owned by the receiver, which should deleteLater() it.
    void finished(QNetworkReply *reply);

private:
    QNetworkAccessManager *manager = nullptr;
};

#endif // UPDATECHECKER_H
