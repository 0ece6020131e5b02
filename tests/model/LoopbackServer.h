#pragma once

#include <QByteArrayList>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QTcpServer>

// A scripted HTTP/1.1 server on 127.0.0.1 for the model client's transport tests: answers
// each request with the next scripted reply, streaming its body in pieces, and records what
// the client sent.
class LoopbackServer : public QObject {
    Q_OBJECT

public:
    struct Reply {
        int status = 200;
        QByteArrayList pieces; // written one by one, a few milliseconds apart
        bool hang = false;     // keep the connection open after the last piece
    };
    struct Request {
        QByteArray method;
        QByteArray path;
        QList<QPair<QByteArray, QByteArray>> headers;
        QByteArray body;
    };

    LoopbackServer();

    QUrl baseUrl() const;
    void enqueue(const Reply& reply) { m_replies.append(reply); }
    const QList<Request>& requests() const { return m_requests; }
    // Connections the client has closed while a reply was still being sent or held open.
    int abandonedCount() const { return m_abandoned; }

    static Reply events(const QByteArrayList& dataLines, int status = 200);

private:
    void accept();
    void readRequest(QTcpSocket* socket);
    void respond(QTcpSocket* socket);
    void writePieces(QTcpSocket* socket, Reply reply);

    QTcpServer m_server;
    QList<Reply> m_replies;
    QList<Request> m_requests;
    int m_abandoned = 0;
};
