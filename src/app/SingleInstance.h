#pragma once

#include <QObject>
#include <QStringList>

class QLocalServer;

// Keeps the program to one running instance per user. The first instance listens on a local
// socket in the user's runtime folder; a later start hands its arguments over that socket and
// exits. A socket left behind by an instance that crashed is taken over. Both ends check that
// the other is a process of the same user, and a socket path another user owns is left alone.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString& socketPath = defaultSocketPath(), QObject* parent = nullptr);
    ~SingleInstance() override;

    // $XDG_RUNTIME_DIR/halvora.socket (the temporary folder, with the user id, without one).
    static QString defaultSocketPath();

    // Hands the arguments to a running instance; false when none answers. Waits at most
    // timeoutMs; it runs before this process has any state to keep responsive.
    bool forward(const QStringList& arguments, int timeoutMs = 2000) const;
    // Becomes the running instance; false when the socket cannot be taken (also when another
    // user owns its path).
    bool listen();

Q_SIGNALS:
    // Another start's arguments, after the program's name.
    void received(const QStringList& arguments);

private:
    void accept();

    QString m_path;
    QLocalServer* m_server = nullptr;
};
