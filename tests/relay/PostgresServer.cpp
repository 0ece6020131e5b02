#include "PostgresServer.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QUrl>
#include <algorithm>
#include <pwd.h>
#include <unistd.h>

namespace {

// The newest server version installed (Debian keeps them in /usr/lib/postgresql/VERSION/bin).
QString serverBinaries()
{
    QDir root("/usr/lib/postgresql");
    QStringList versions = root.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    std::sort(versions.begin(), versions.end(),
              [](const QString& a, const QString& b) { return a.toInt() < b.toInt(); });
    return versions.isEmpty() ? QString() : root.filePath(versions.last() + "/bin");
}

} // namespace

PostgresServer::~PostgresServer()
{
    stop();
}

bool PostgresServer::run(const QString& program, const QStringList& args, QString* error)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    if (m_asPostgresUser)
        p.start("runuser", QStringList{"-u", "postgres", "--", m_bin + "/" + program} + args);
    else
        p.start(m_bin + "/" + program, args);
    if (p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
        return true;
    *error = program + " failed: " + QString::fromLocal8Bit(p.readAll()).trimmed();
    return false;
}

bool PostgresServer::start(QString* error)
{
    m_bin = serverBinaries();
    if (m_bin.isEmpty() || !m_dir.isValid()) {
        *error = "PostgreSQL's server binaries are not installed";
        return false;
    }
    m_asPostgresUser = ::geteuid() == 0;
    if (m_asPostgresUser) {
        const passwd* pg = ::getpwnam("postgres");
        if (!pg || ::chown(QFile::encodeName(m_dir.path()).constData(), pg->pw_uid, pg->pw_gid) != 0) {
            *error = "cannot hand the folder to the postgres user";
            return false;
        }
        m_user = "postgres";
    } else {
        const passwd* me = ::getpwuid(::geteuid());
        m_user = me ? QString::fromLocal8Bit(me->pw_name) : QString();
    }
    const QString data = m_dir.filePath("data");
    if (!run("initdb", {"-D", data, "-U", m_user, "--auth=trust", "-E", "UTF8", "--no-sync"}, error))
        return false;
    const QString settings = "-k " + m_dir.path() + " -c listen_addresses='' -c fsync=off -c max_connections=100";
    m_running = run("pg_ctl", {"-D", data, "-l", m_dir.filePath("server.log"), "-w", "-o", settings, "start"}, error);
    return m_running;
}

void PostgresServer::stop()
{
    if (!m_running)
        return;
    QString ignored;
    run("pg_ctl", {"-D", m_dir.filePath("data"), "-m", "immediate", "-w", "stop"}, &ignored);
    m_running = false;
}

QString PostgresServer::url() const
{
    return "postgresql:///postgres?host=" + QString::fromLatin1(QUrl::toPercentEncoding(m_dir.path())) +
           "&user=" + m_user;
}
