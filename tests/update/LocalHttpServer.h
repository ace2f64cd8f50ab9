#ifndef LOCALHTTPSERVER_H
#define LOCALHTTPSERVER_H

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QString>
#include <QTcpServer>
#include <QTcpSocket>

// An HTTP server on 127.0.0.1 that answers each GET path with fixed bytes,
// written as they are, so that tests can also send broken answers. Unknown
// paths get 404. Listens from construction on a free port.
class LocalHttpServer : public QTcpServer
{
public:
    // How the connection ends once the answer is out.
    enum Ending { Close, Abort };

    LocalHttpServer()
    {
        connect(this, &QTcpServer::newConnection, this, &LocalHttpServer::acceptConnections);
        listen(QHostAddress::LocalHost);
    }

    static QByteArray ok(const QByteArray &body)
    {
        return "HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(body.size())
            + "\r\nConnection: close\r\n\r\n" + body;
    }

    // Answers `path` with `raw` (status line, headers, body). With `holdAt`
    // >= 0 only that many bytes go out until release().
    void answer(const QByteArray &path, const QByteArray &raw, Ending ending = Close,
                int holdAt = -1)
    {
        answers.insert(path, {raw, ending, holdAt});
    }

    // Sends the rest of every held answer.
    void release()
    {
        for (const Held &held : qAsConst(holding)) {
            if (held.socket)
                finish(held.socket, held.rest, held.ending);
        }
        holding.clear();
    }

    QString url(const QByteArray &path) const
    {
        return QStringLiteral("http://127.0.0.1:%1").arg(serverPort()) + QString::fromLatin1(path);
    }

    QList<QByteArray> requestedPaths;

private:
    struct Answer { QByteArray raw; Ending ending; int holdAt; };
    struct Held { QPointer<QTcpSocket> socket; QByteArray rest; Ending ending; };

    void acceptConnections()
    {
        while (QTcpSocket *socket = nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readRequest(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    }

    void readRequest(QTcpSocket *socket)
    {
        QByteArray request = socket->property("request").toByteArray() + socket->readAll();
        socket->setProperty("request", request);
        if (!request.contains("\r\n\r\n"))
            return;
        const QByteArray path = request.split(' ').value(1).split('?').value(0);
        requestedPaths.append(path);
        const Answer a = answers.value(path, {"HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\n"
                                               "Connection: close\r\n\r\nNot found", Close, -1});
        if (a.holdAt < 0) {
            finish(socket, a.raw, a.ending);
            return;
        }
        socket->write(a.raw.left(a.holdAt));
        holding.append({socket, a.raw.mid(a.holdAt), a.ending});
    }

    static void finish(QTcpSocket *socket, const QByteArray &bytes, Ending ending)
    {
        socket->write(bytes);
        if (ending == Abort) {
            socket->flush();
            socket->waitForBytesWritten(1000);
            socket->abort();
        } else {
            socket->disconnectFromHost();
        }
    }

    QHash<QByteArray, Answer> answers;
    QList<Held> holding;
};

#endif // LOCALHTTPSERVER_H
