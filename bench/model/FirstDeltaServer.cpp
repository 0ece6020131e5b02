#include "FirstDeltaServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

bool sendAll(int socket, const QByteArray& bytes)
{
    for (qsizetype at = 0; at < bytes.size();) {
        const ssize_t sent = ::send(socket, bytes.constData() + at, size_t(bytes.size() - at), MSG_NOSIGNAL);
        if (sent <= 0)
            return false;
        at += sent;
    }
    return true;
}

// The Content-Length a request head announces, or 0.
qsizetype contentLength(const QByteArray& head)
{
    for (const QByteArray& line : head.split('\n')) {
        if (line.toLower().startsWith("content-length:"))
            return line.mid(15).trimmed().toLongLong();
    }
    return 0;
}

// Reads the request head and the body it announces.
void readRequest(int socket)
{
    QByteArray request;
    char buffer[4096];
    qsizetype headEnd = -1;
    qsizetype bodyLength = 0;
    while (headEnd < 0 || request.size() < headEnd + 4 + bodyLength) {
        const ssize_t got = ::recv(socket, buffer, sizeof buffer, 0);
        if (got <= 0)
            return;
        request.append(buffer, got);
        if (headEnd < 0 && (headEnd = request.indexOf("\r\n\r\n")) >= 0)
            bodyLength = contentLength(request.left(headEnd));
    }
}

} // namespace

FirstDeltaServer::FirstDeltaServer(QByteArray before, QByteArray firstDelta, QByteArray after)
    : m_before(std::move(before)), m_firstDelta(std::move(firstDelta)), m_after(std::move(after))
{
    m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (m_listener < 0 || ::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(m_listener, 1) != 0 || ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return;
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] { serve(); });
}

FirstDeltaServer::~FirstDeltaServer()
{
    if (m_listener >= 0)
        ::shutdown(m_listener, SHUT_RDWR);
    if (m_thread.joinable())
        m_thread.join();
    if (m_listener >= 0)
        ::close(m_listener);
}

QUrl FirstDeltaServer::baseUrl() const
{
    return m_port ? QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(m_port)) : QUrl();
}

void FirstDeltaServer::serve()
{
    const int client = ::accept(m_listener, nullptr, nullptr);
    if (client < 0)
        return;
    const int on = 1;
    ::setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    readRequest(client);
    const QByteArray head = "HTTP/1.1 200 OK\r\nContent-Type: text/event-stream\r\nConnection: close\r\n\r\n";
    if (sendAll(client, head + m_before)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        m_sent = std::chrono::steady_clock::now();
        if (sendAll(client, m_firstDelta)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            sendAll(client, m_after);
        }
    }
    ::close(client);
}
