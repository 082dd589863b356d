#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QTcpServer>
#include <QUrl>

class QTcpSocket;

// A small HTTP/1.1 server on the loopback address for tests: answers each GET with
// the response set for its path (404 otherwise), optionally after a delay, then
// closes the connection.
class HttpResponder : public QObject
{
    Q_OBJECT

public:
    struct Response
    {
        int status = 200;
        QByteArray body;
        QList<QPair<QByteArray, QByteArray>> headers;
        int delayMs = 0;
        // When set, the body goes out one byte at a time, this many ms apart.
        int byteIntervalMs = 0;
    };

    explicit HttpResponder(QObject* parent = nullptr);
    ~HttpResponder() override;

    // Listens on 127.0.0.1 at port, or at a free port for 0.
    bool listen(quint16 port = 0);
    // Why listen failed.
    QAbstractSocket::SocketError listenError() const { return server.serverError(); }
    QUrl baseUrl() const;

    void setResponse(const QByteArray& path, const Response& response);

    QList<QByteArray> requestedPaths() const { return paths; }
    int requestsInFlight() const { return int(unanswered.size()); }
    int maxRequestsInFlight() const { return maxInFlight; }

signals:
    void requestReceived(const QByteArray& path);

private:
    void onNewConnection();
    void onReadyRead(QTcpSocket* socket);
    void answer(QTcpSocket* socket, const QByteArray& path);
    void finishRequest(QTcpSocket* socket);

    QTcpServer server;
    QHash<QByteArray, Response> responses;
    QHash<QTcpSocket*, QByteArray> buffers;
    // Requests received and not yet answered.
    QList<QTcpSocket*> unanswered;
    QList<QByteArray> paths;
    int maxInFlight = 0;
};
