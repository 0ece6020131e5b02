#include "app/SingleInstance.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <unistd.h>

namespace {

// One message per connection: a JSON array of strings. Anything larger is not ours.
constexpr qint64 maxMessageBytes = 64 * 1024;

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
    QLocalSocket socket;
    socket.connectToServer(m_path);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(QJsonDocument(QJsonArray::fromStringList(arguments)).toJson(QJsonDocument::Compact));
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    socket.disconnectFromServer();
    return socket.state() == QLocalSocket::UnconnectedState || socket.waitForDisconnected(timeoutMs);
}

bool SingleInstance::listen()
{
    m_server = new QLocalServer(this);
    // Only this user may hand us commands: sign-in callbacks arrive this way.
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_path)) {
        // Nobody answered on it (forward() failed first), so the socket is stale.
        QLocalServer::removeServer(m_path);
        if (!m_server->listen(m_path))
            return false;
    }
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::accept);
    return true;
}

void SingleInstance::accept()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readChannelFinished, this, [this, socket] {
            const QByteArray message = socket->readAll();
            socket->disconnectFromServer();
            if (message.size() > maxMessageBytes)
                return;
            QStringList arguments;
            for (const QJsonValue& value : QJsonDocument::fromJson(message).array())
                arguments.append(value.toString());
            Q_EMIT received(arguments);
        });
    }
}
