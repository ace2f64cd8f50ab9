#ifndef LOCALHTTPSERVER_H
#define LOCALHTTPSERVER_H

#include <QHash>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

// An HTTP server on 127.0.0.1 answering each GET path (query ignored) with
// fixed bytes, sent as they are so that answers can also be broken; unknown
// paths get 404. Listens from construction.
class LocalHttpServer : public QTcpServer
{
public:
    LocalHttpServer()
    {
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
        });
        listen(QHostAddress::LocalHost);
    }

    static QByteArray ok(const QByteArray &body)
    {
        return "HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(body.size())
            + "\r\nConnection: close\r\n\r\n" + body;
    }

    // Answers `path` with `raw`, then closes, or resets when `abort`. With
    // `holdAt` >= 0 only that many bytes go out until release().
    void answer(const QByteArray &path, const QByteArray &raw, bool abort = false, int holdAt = -1)
    {
        answers.insert(path, {raw, abort, holdAt});
    }

    void release()
    {
        for (const Held &held : qAsConst(holding))
            if (held.socket)
                send(held.socket, held.rest, held.abort);
        holding.clear();
    }

    QString url(const QByteArray &path) const
    {
        return QStringLiteral("http://127.0.0.1:%1").arg(serverPort()) + QString::fromLatin1(path);
    }

    QList<QByteArray> requestedPaths;

private:
    struct Answer { QByteArray raw; bool abort; int holdAt; };
    struct Held { QPointer<QTcpSocket> socket; QByteArray rest; bool abort; };

    void serve(QTcpSocket *socket)
    {
        const QByteArray request = socket->property("request").toByteArray() + socket->readAll();
        socket->setProperty("request", request);
        if (!request.contains("\r\n\r\n"))
            return;
        const QByteArray path = request.split(' ').value(1).split('?').value(0);
        requestedPaths.append(path);
        const Answer a = answers.value(path, {"HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n"
                                              "Connection: close\r\n\r\n", false, -1});
        if (a.holdAt < 0)
            return send(socket, a.raw, a.abort);
        socket->write(a.raw.left(a.holdAt));
        holding.append({socket, a.raw.mid(a.holdAt), a.abort});
    }

    static void send(QTcpSocket *socket, const QByteArray &bytes, bool abort)
    {
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        socket->write(bytes);
        if (abort && socket->waitForBytesWritten(1000))
            socket->abort();
        else
            socket->disconnectFromHost();
    }

    QHash<QByteArray, Answer> answers;
    QList<Held> holding;
};

#endif // LOCALHTTPSERVER_H
