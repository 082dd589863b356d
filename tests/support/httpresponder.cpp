#include "httpresponder.h"

#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

HttpResponder::HttpResponder(QObject* parent)
    : QObject(parent)
{
    connect(&server, &QTcpServer::newConnection, this, &HttpResponder::onNewConnection);
}

HttpResponder::~HttpResponder()
{
    // The open connections die with the server; their last signals must not reach us.
    const QList<QTcpSocket*> sockets = server.findChildren<QTcpSocket*>();
    for (QTcpSocket* socket : sockets)
        socket->disconnect(this);
}

bool HttpResponder::listen(quint16 port)
{
    return server.listen(QHostAddress::LocalHost, port);
}

QUrl HttpResponder::baseUrl() const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(server.serverPort()));
}

void HttpResponder::setResponse(const QByteArray& path, const Response& response)
{
    responses.insert(path, response);
}

void HttpResponder::onNewConnection()
{
    while (QTcpSocket* socket = server.nextPendingConnection()) {
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            // A client that gives up before the answer ends its request too.
            finishRequest(socket);
            buffers.remove(socket);
            socket->deleteLater();
        });
    }
}

void HttpResponder::onReadyRead(QTcpSocket* socket)
{
    QByteArray& buffer = buffers[socket];
    buffer += socket->readAll();
    const int end = buffer.indexOf("\r\n\r\n");
    if (end < 0)
        return;
    const QList<QByteArray> requestLine = buffer.left(buffer.indexOf("\r\n")).split(' ');
    buffer.clear();
    const QByteArray path = requestLine.size() >= 2 ? requestLine.at(1) : QByteArray();

    paths.append(path);
    unanswered.append(socket);
    maxInFlight = qMax(maxInFlight, requestsInFlight());
    emit requestReceived(path);

    const int delayMs = responses.value(path).delayMs;
    if (delayMs <= 0) {
        answer(socket, path);
        return;
    }
    QPointer<QTcpSocket> guarded(socket);
    QTimer::singleShot(delayMs, this, [this, guarded, path] {
        if (guarded && guarded->state() == QAbstractSocket::ConnectedState)
            answer(guarded, path);
    });
}

void HttpResponder::answer(QTcpSocket* socket, const QByteArray& path)
{
    Response response;
    response.status = 404;
    response = responses.value(path, response);

    QByteArray reply = "HTTP/1.1 " + QByteArray::number(response.status) + " Reason\r\n";
    reply += "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n";
    reply += "Connection: close\r\n";
    for (const auto& header : response.headers)
        reply += header.first + ": " + header.second + "\r\n";
    reply += "\r\n";

    finishRequest(socket);
    if (response.byteIntervalMs <= 0 || response.body.isEmpty()) {
        socket->write(reply + response.body);
        socket->disconnectFromHost();
        return;
    }
    socket->write(reply);
    auto* trickle = new QTimer(socket);
    connect(trickle, &QTimer::timeout, socket,
            [socket, trickle, body = response.body, sent = 0]() mutable {
                socket->write(body.mid(sent, 1));
                if (++sent < body.size())
                    return;
                trickle->stop();
                socket->disconnectFromHost();
            });
    trickle->start(response.byteIntervalMs);
}

void HttpResponder::finishRequest(QTcpSocket* socket)
{
    unanswered.removeOne(socket);
}
