#include "LoopbackServer.h"

#include <QPointer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

LoopbackServer::LoopbackServer()
{
    m_server.listen(QHostAddress::LocalHost);
    connect(&m_server, &QTcpServer::newConnection, this, &LoopbackServer::accept);
}

QUrl LoopbackServer::baseUrl() const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(m_server.serverPort()));
}

LoopbackServer::Reply LoopbackServer::events(const QByteArrayList& dataLines, int status)
{
    Reply reply;
    reply.status = status;
    for (const QByteArray& line : dataLines)
        reply.pieces << "event: message\n" + line + "\n\n";
    return reply;
}

void LoopbackServer::accept()
{
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        socket->setParent(this);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readRequest(socket); });
    }
}

void LoopbackServer::readRequest(QTcpSocket* socket)
{
    QByteArray buffer = socket->property("buffer").toByteArray() + socket->readAll();
    socket->setProperty("buffer", buffer);
    const qsizetype headEnd = buffer.indexOf("\r\n\r\n");
    if (headEnd < 0 || socket->property("answered").toBool())
        return;
    Request request;
    const QByteArrayList lines = buffer.left(headEnd).split('\n');
    const QByteArrayList first = lines.value(0).trimmed().split(' ');
    request.method = first.value(0);
    request.path = first.value(1);
    qsizetype length = 0;
    for (const QByteArray& line : lines.mid(1)) {
        const qsizetype colon = line.indexOf(':');
        request.headers.append({line.left(colon).trimmed(), line.mid(colon + 1).trimmed()});
        if (line.left(colon).trimmed().compare("content-length", Qt::CaseInsensitive) == 0)
            length = line.mid(colon + 1).trimmed().toLongLong();
    }
    if (buffer.size() < headEnd + 4 + length)
        return;
    request.body = buffer.mid(headEnd + 4, length);
    m_requests.append(request);
    socket->setProperty("answered", true);
    respond(socket);
}

void LoopbackServer::respond(QTcpSocket* socket)
{
    const Reply reply = m_replies.isEmpty() ? Reply{500, {"{}"}, false} : m_replies.takeFirst();
    socket->write("HTTP/1.1 " + QByteArray::number(reply.status) + " Scripted\r\n" +
                  "Content-Type: text/event-stream\r\nConnection: close\r\n\r\n");
    connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
        if (!socket->property("complete").toBool())
            ++m_abandoned;
        socket->deleteLater();
    });
    writePieces(socket, reply);
}

void LoopbackServer::writePieces(QTcpSocket* socket, Reply reply)
{
    if (reply.pieces.isEmpty()) {
        if (!reply.hang) {
            socket->setProperty("complete", true);
            socket->disconnectFromHost();
        }
        return;
    }
    socket->write(reply.pieces.takeFirst());
    socket->flush();
    QPointer<QTcpSocket> guard(socket);
    QTimer::singleShot(2, this, [this, guard, reply] {
        if (guard && guard->state() == QAbstractSocket::ConnectedState)
            writePieces(guard, reply);
    });
}
