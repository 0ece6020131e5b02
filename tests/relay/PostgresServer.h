#pragma once

#include <QString>
#include <QTemporaryDir>

// A private PostgreSQL server for tests: a fresh cluster (initdb) in a temporary folder,
// started with pg_ctl, reachable only through a unix socket in that folder. When the tests
// run as root the server runs as the "postgres" user, since PostgreSQL refuses root.
class PostgresServer {
public:
    PostgresServer() = default;
    ~PostgresServer();
    PostgresServer(const PostgresServer&) = delete;
    PostgresServer& operator=(const PostgresServer&) = delete;

    // Creates and starts the cluster; false with the reason in `error`.
    bool start(QString* error);
    void stop();
    // The relay's --db value for the cluster's "postgres" database.
    QString url() const;

private:
    bool run(const QString& program, const QStringList& args, QString* error);

    QTemporaryDir m_dir;
    QString m_bin;
    QString m_user;
    bool m_asPostgresUser = false;
    bool m_running = false;
};
