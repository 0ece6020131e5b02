#include "app/SingleInstance.h"

#include "app/AppLog.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLocalServer>
#include <QLocalSocket>
#include <optional>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// One message per connection: a JSON array of strings. Anything larger is not ours.
constexpr qint64 maxMessageBytes = 64 * 1024;

// The user id of the process at the other end of a connected local socket.
std::optional<uid_t> peerUid(qintptr descriptor)
{
    ucred credentials{};
    socklen_t length = sizeof credentials;
    if (descriptor < 0 || getsockopt(int(descriptor), SOL_SOCKET, SO_PEERCRED, &credentials, &length) != 0)
        return std::nullopt;
    return credentials.uid;
}

bool isOurUser(const QLocalSocket& socket)
{
    return peerUid(socket.socketDescriptor()) == getuid();
}

// Whether something at the path belongs to another user (in a shared folder such as /tmp,
// someone else may have put a socket there first). A missing path is nobody's.
bool ownedByAnotherUser(const QString& path)
{
    struct stat info {};
    return lstat(QFile::encodeName(path).constData(), &info) == 0 && info.st_uid != getuid();
}

} // namespace

SingleInstance::SingleInstance(const QString& socketPath, QObject* parent) : QObject(parent), m_path(socketPath) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::defaultSocketPath()
{
    QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (folder.isEmpty() || !QDir(folder).exists())
        return QDir::temp().filePath(QStringLiteral("halvora-%1.socket").arg(getuid()));
    return QDir(folder).filePath(QStringLiteral("halvora.socket"));
}

bool SingleInstance::forward(const QStringList& arguments, int timeoutMs) const
{
    // Arguments may carry a sign-in code: they go only to a process of this user.
    if (ownedByAnotherUser(m_path))
        return false;
    QLocalSocket socket;
    socket.connectToServer(m_path);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    if (!isOurUser(socket)) {
        qCWarning(appLog) << "The program listening on" << m_path << "belongs to another user; not forwarding";
        socket.abort();
        return false;
    }
    socket.write(QJsonDocument(QJsonArray::fromStringList(arguments)).toJson(QJsonDocument::Compact));
    if (!socket.waitForBytesWritten(timeoutMs)) {
        qCWarning(appLog) << "Forwarding to the running instance failed:" << socket.errorString();
        return false;
    }
    socket.disconnectFromServer();
    return socket.state() == QLocalSocket::UnconnectedState || socket.waitForDisconnected(timeoutMs);
}

bool SingleInstance::listen()
{
    if (ownedByAnotherUser(m_path)) {
        qCWarning(appLog) << "Another user owns" << m_path << "- a second start will open a second instance";
        return false;
    }
    m_server = new QLocalServer(this);
    // Only this user may hand us commands: sign-in callbacks arrive this way.
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_path)) {
        // Nobody answered on it (forward() failed first), so the socket is stale.
        QLocalServer::removeServer(m_path);
        if (!m_server->listen(m_path)) {
            qCWarning(appLog) << "Cannot listen on" << m_path << "-" << m_server->errorString()
                              << "- a second start will open a second instance";
            return false;
        }
    }
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::accept);
    return true;
}

void SingleInstance::accept()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        if (!isOurUser(*socket)) {
            qCWarning(appLog) << "Refused a connection from another user on" << m_path;
            socket->abort();
            socket->deleteLater();
            continue;
        }
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readChannelFinished, this, [this, socket] {
            const QByteArray message = socket->readAll();
            socket->disconnectFromServer();
            if (message.size() > maxMessageBytes) {
                qCWarning(appLog) << "Dropped a" << message.size() << "byte message on" << m_path;
                return;
            }
            QStringList arguments;
            for (const QJsonValue& value : QJsonDocument::fromJson(message).array())
                arguments.append(value.toString());
            Q_EMIT received(arguments);
        });
    }
}
