#pragma once

#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QTemporaryDir>
#include <QUrl>

// How RelayProcess starts the relay, besides its mode.
struct RelayProcessOptions {
    int paceMs = 0;        // demo mode: delay between events
    QStringList extraArgs; // passed after the mode's own arguments
};

// Runs halvora-relay as a separate process on a free loopback port, for integration tests.
//
//     RelayScenario scenario;                 // see RelayScenario.h
//     scenario.addStream(RelayScenario::textEvents({"Hel", "lo"}));
//     RelayProcess relay;
//     QVERIFY(relay.startScenario(scenario.dir()));
//     ... send requests to relay.baseUrl() (http://127.0.0.1:PORT/) ...
//     QCOMPARE(relay.recordedRequests().first().value("path").toString(), "/api/ai/messages");
//
// Each instance has its own temporary folder with the database and HOME; the relay is
// stopped with SIGTERM when the instance is destroyed.
class RelayProcess {
public:
    using Options = RelayProcessOptions;

    RelayProcess();
    ~RelayProcess();
    RelayProcess(const RelayProcess&) = delete;
    RelayProcess& operator=(const RelayProcess&) = delete;

    // Demo mode: the offline stand-in for the model.
    bool startDemo(const Options& options = Options());
    // Scenario mode over the step files in `dir`; every request is recorded (recordedRequests()).
    bool startScenario(const QString& dir, const Options& options = Options());
    // Proxy mode to the Messages API at `upstream`, with `apiKey` in ANTHROPIC_API_KEY.
    bool startProxy(const QString& upstream, const QString& model, const QByteArray& apiKey,
                    const Options& options = Options());
    // Any arguments (--port 0 and --db are added unless given); waits for the "listening on" line.
    bool start(const QStringList& args, const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment());

    // Signs `email` in through the login page, its form and the code exchange, as a browser and
    // the program would; returns the account token, or an empty string on any failure.
    QString signIn(const QString& email = QStringLiteral("tester@example.com"));

    // SIGTERM, then waits; returns the exit code, or -1 when it had to be killed or crashed.
    int stop(int timeoutMs = 5000);

    QUrl baseUrl() const { return m_baseUrl; }
    int port() const { return m_baseUrl.port(); }
    QString url(const QString& path) const { return m_baseUrl.toString() + path; }
    QString databasePath() const { return m_dbPath; }
    QString recordPath() const { return m_recordPath; }
    // The requests the relay received so far (scenario mode), oldest first.
    QList<QJsonObject> recordedRequests() const;
    // Everything the relay wrote to standard error so far (its request log).
    QByteArray log();
    QProcess& process() { return m_process; }
    // The first line the relay printed, or why start() failed.
    QString startMessage() const { return m_startMessage; }

    static QString executable();

private:
    bool waitForListening(int timeoutMs);

    QTemporaryDir m_dir;
    QProcess m_process;
    QUrl m_baseUrl;
    QString m_dbPath;
    QString m_recordPath;
    QString m_startMessage;
    QByteArray m_log;
};
