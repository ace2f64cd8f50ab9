#ifndef LOCALHTTPSERVER_H
#define LOCALHTTPSERVER_H

#include <QHash>
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

    // Answers `path` with `raw`, then closes the connection, or resets it when `abort`.
    void answer(const QByteArray &path, const QByteArray &raw, bool abort = false) { answers[path] = {raw, abort}; }

    QString url(const QByteArray &path) const
    {
        return QStringLiteral("http://127.0.0.1:%1").arg(serverPort()) + QString::fromLatin1(path);
    }

private:
    void serve(QTcpSocket *socket)
    {
        const QByteArray request = socket->property("request").toByteArray() + socket->readAll();
        socket->setProperty("request", request);
        if (!request.contains("\r\n\r\n"))
            return;
        const auto a = answers.value(request.split(' ').value(1).split('?').value(0),
                                     {"HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n", false});
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        socket->write(a.first);
        if (a.second && socket->waitForBytesWritten(1000))
            socket->abort();
        else
            socket->disconnectFromHost();
    }

    QHash<QByteArray, QPair<QByteArray, bool>> answers;
};

#endif // LOCALHTTPSERVER_H
