#include "RelayProcess.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QJsonDocument>

#include <httplib.h>

#include <QRegularExpression>

#include <signal.h>

RelayProcess::RelayProcess()
{
    m_process.setProgram(executable());
}

RelayProcess::~RelayProcess()
{
    stop(2000);
}

QString RelayProcess::executable()
{
    return QStringLiteral(HALVORA_RELAY_EXECUTABLE);
}

bool RelayProcess::startDemo(const Options& options)
{
    return start(QStringList{"--pace", QString::number(options.paceMs)} + options.extraArgs);
}

bool RelayProcess::startScenario(const QString& dir, const Options& options)
{
    m_recordPath = m_dir.filePath("requests.jsonl");
    return start(QStringList{"--scenario", dir, "--record", m_recordPath} + options.extraArgs);
}

bool RelayProcess::startProxy(const QString& upstream, const QString& model, const QByteArray& apiKey,
                              const Options& options)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("ANTHROPIC_API_KEY", QString::fromUtf8(apiKey));
    return start(QStringList{"--upstream", upstream, "--model", model} + options.extraArgs, env);
}

bool RelayProcess::start(const QStringList& args, const QProcessEnvironment& env)
{
    QStringList all = args;
    if (!all.contains("--port"))
        all << "--port" << "0";
    m_dbPath = m_dir.filePath("relay.db");
    if (!all.contains("--db"))
        all << "--db" << m_dbPath;
    QProcessEnvironment childEnv = env;
    childEnv.insert("HOME", m_dir.path());
    childEnv.insert("XDG_DATA_HOME", m_dir.filePath("data"));
    m_process.setProcessEnvironment(childEnv);
    m_process.setArguments(all);
    m_process.start();
    if (!m_process.waitForStarted(5000)) {
        m_startMessage = m_process.errorString();
        return false;
    }
    return waitForListening(10000);
}

bool RelayProcess::waitForListening(int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!m_process.canReadLine() && m_process.state() == QProcess::Running && !deadline.hasExpired())
        m_process.waitForReadyRead(int(std::max<qint64>(1, deadline.remainingTime())));
    if (!m_process.canReadLine()) {
        m_startMessage = QString::fromLocal8Bit(m_process.readAllStandardError()).trimmed();
        return false;
    }
    m_startMessage = QString::fromUtf8(m_process.readLine()).trimmed();
    const QString prefix = QStringLiteral("listening on ");
    if (!m_startMessage.startsWith(prefix))
        return false;
    m_baseUrl = QUrl(m_startMessage.mid(prefix.size()));
    return m_baseUrl.isValid() && m_baseUrl.port() > 0;
}

int RelayProcess::stop(int timeoutMs)
{
    if (m_process.state() == QProcess::NotRunning)
        return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
    ::kill(pid_t(m_process.processId()), SIGTERM);
    if (!m_process.waitForFinished(timeoutMs)) {
        m_process.kill();
        m_process.waitForFinished(2000);
        return -1;
    }
    log();
    return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
}

QList<QJsonObject> RelayProcess::recordedRequests() const
{
    QList<QJsonObject> requests;
    QFile file(m_recordPath);
    if (!file.open(QIODevice::ReadOnly))
        return requests;
    while (!file.atEnd()) {
        QJsonDocument line = QJsonDocument::fromJson(file.readLine());
        if (line.isObject())
            requests << line.object();
    }
    return requests;
}

QByteArray RelayProcess::log()
{
    m_log += m_process.readAllStandardError();
    return m_log;
}

QString RelayProcess::signIn(const QString& email)
{
    httplib::Client client("127.0.0.1", port());
    const std::string state = "test-state-" + std::to_string(port());
    auto page = client.Get("/login?client=app&state=" + state);
    if (!page || page->status != 200)
        return {};
    auto token = QRegularExpression(R"re(name="form_token" value="([^"]+)")re").match(QString::fromStdString(page->body));
    httplib::Params form{{"email", email.toStdString()}, {"state", state}, {"client", "app"},
                         {"form_token", token.captured(1).toStdString()}};
    auto linkPage = client.Post("/login", form);
    if (!linkPage || linkPage->status != 200)
        return {};
    auto code = QRegularExpression(R"re(halvora://auth\?code=([A-Za-z0-9_-]+))re").match(QString::fromStdString(linkPage->body));
    QJsonObject exchange{{"code", code.captured(1)}, {"state", QString::fromStdString(state)}};
    auto answer = client.Post("/api/auth/app/exchange", QJsonDocument(exchange).toJson().toStdString(), "application/json");
    if (!answer || answer->status != 200)
        return {};
    return QJsonDocument::fromJson(QByteArray::fromStdString(answer->body)).object().value("token").toString();
}
