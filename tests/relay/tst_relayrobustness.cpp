// The real relay process under bad input, many streams at once, clients that leave
// mid-stream, and stop signals.
#include "RelayProcess.h"
#include "RelayScenario.h"
#include "RelayTestHttp.h"
#include "support/TestRows.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <memory>
#include <signal.h>
#include <thread>
#include <vector>

using namespace RelayTestHttp;

namespace {

constexpr int streamCount = 64;

int activeStreams(const RelayProcess& relay)
{
    auto stats = client(relay)->Get("/__relay/stats");
    return stats ? json(stats->body).value("active_streams").toInt(-1) : -1;
}

// Opens `count` streaming requests on their own threads; each stays open until stopped.
struct OpenStreams {
    std::vector<std::unique_ptr<httplib::Client>> clients;
    std::vector<std::thread> threads;
    std::atomic<int> finished{0};

    void open(const RelayProcess& relay, int count)
    {
        for (int i = 0; i < count; ++i) {
            clients.push_back(std::make_unique<httplib::Client>("127.0.0.1", relay.port()));
            clients.back()->set_read_timeout(60);
            threads.emplace_back([this, c = clients.back().get()] {
                c->Post("/api/ai/messages", modelHeaders("t"), modelBody("x"), "application/json");
                ++finished;
            });
        }
    }
    void closeAll()
    {
        for (auto& c : clients)
            c->stop();
        for (auto& t : threads)
            t.join();
        threads.clear();
    }
    ~OpenStreams() { closeAll(); }
};

} // namespace

class TestRelayRobustness : public QObject {
    Q_OBJECT

private:
    RelayProcess m_relay;
    QString m_token;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_relay.startDemo());
        m_token = m_relay.signIn();
        QVERIFY(!m_token.isEmpty());
    }

    // The exact problem reported for each malformed body is proven on the parser; here the running
    // relay answers with the right status and error type and stays up.
    void badRequests_data()
    {
        QTest::addColumn<QString>("method");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("signedIn");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("errorType"); // Messages API error type, or "account" for {"error": text}
        const QByteArray good = R"({"messages":[{"role":"user","content":"hi"}]})";
        addRow("malformed JSON", "POST", "/api/ai/messages", QByteArray("{\"messages\": ["), true, 400,
               "invalid_request_error");
        addRow("invalid UTF-8", "POST", "/api/ai/messages", QByteArray("{\"messages\":[\"\xff\xfe\"]}"), true, 400,
               "invalid_request_error");
        addRow("no token", "POST", "/api/ai/messages", good, false, 401, "authentication_error");
        addRow("over 8 MB", "POST", "/api/ai/messages", QByteArray(8 * 1024 * 1024 + 1, 'a'), true, 413,
               "request_too_large");
        addRow("unknown path", "GET", "/api/nothing", QByteArray(), true, 404, "not_found_error");
        addRow("path below a route", "POST", "/api/ai/messages/x", good, true, 404, "not_found_error");
        addRow("GET on the relay", "GET", "/api/ai/messages", QByteArray(), true, 405, "invalid_request_error");
        addRow("DELETE on me", "DELETE", "/api/me", QByteArray(), true, 405, "invalid_request_error");
        addRow("exchange with a list", "POST", "/api/auth/app/exchange", QByteArray("[1,2]"), false, 400, "account");
        addRow("huge header", "GET", "/api/me", QByteArray(), true, 400, "invalid_request_error");
    }

    void badRequests()
    {
        QFETCH(QString, method);
        QFETCH(QString, path);
        QFETCH(QByteArray, body);
        QFETCH(bool, signedIn);
        QFETCH(int, status);
        QFETCH(QString, errorType);
        httplib::Headers headers;
        if (signedIn)
            headers = modelHeaders(m_token);
        if (QTest::currentDataTag() == QLatin1String("huge header"))
            headers.emplace("X-Padding", std::string(64 * 1024, 'p'));
        httplib::Request request;
        request.method = method.toStdString();
        request.path = path.toStdString();
        request.headers = headers;
        request.body = body.toStdString();
        if (!body.isEmpty())
            request.set_header("Content-Type", "application/json");
        auto result = client(m_relay)->send(request);
        QVERIFY(result);
        QCOMPARE(result->status, status);
        QJsonObject answer = json(result->body);
        if (errorType == "account")
            QVERIFY(answer.value("error").isString());
        else
            QCOMPARE(answer.value("error").toObject().value("type").toString(), errorType);
        if (status == 405)
            QVERIFY(!result->get_header_value("Allow").empty());
        // The relay is still serving.
        QCOMPARE(client(m_relay)->Get("/api/me", modelHeaders(m_token))->status, 200);
    }

    void concurrentDemoStreams()
    {
        RelayProcess relay;
        RelayProcess::Options paced;
        paced.paceMs = 2;
        QVERIFY(relay.startDemo(paced));
        const QString token = relay.signIn();
        std::vector<QString> texts(streamCount);
        std::vector<std::thread> threads;
        for (int i = 0; i < streamCount; ++i) {
            threads.emplace_back([&, i] {
                httplib::Client c("127.0.0.1", relay.port());
                c.set_read_timeout(30);
                auto result =
                    c.Post("/api/ai/messages", modelHeaders(token), modelBody("same text"), "application/json");
                if (result && result->status == 200)
                    texts[i] = streamedText(dataObjects(result->body));
            });
        }
        for (auto& t : threads)
            t.join();
        QVERIFY(!texts[0].isEmpty());
        for (const QString& text : texts)
            QCOMPARE(text, texts[0]);
    }

    void manyOpenStreamsAreFreed()
    {
        RelayScenario scenario;
        RelayScenario::StreamOptions stall;
        stall.stallAfter = 1;
        for (int i = 0; i < streamCount; ++i)
            scenario.addStream(RelayScenario::textEvents({"x"}), stall);
        RelayProcess relay;
        QVERIFY(relay.startScenario(scenario.dir()));
        OpenStreams streams;
        streams.open(relay, streamCount);
        QTRY_COMPARE_WITH_TIMEOUT(activeStreams(relay), streamCount, 10000); // all open at once
        // Other requests are still answered while every stream is open.
        QCOMPARE(client(relay)->Get("/api/me")->status, 401);
        streams.closeAll();
        QTRY_COMPARE_WITH_TIMEOUT(activeStreams(relay), 0, 3000);
    }

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("output"); // expected in standard output, or with exit code 2 in standard error
        addRow("help", QStringList{"--help"}, 0, "Usage: halvora-relay");
        addRow("version", QStringList{"--version"}, 0, "halvora-relay " HALVORA_VERSION);
        addRow("unknown option", QStringList{"--colour"}, 2, "unknown option --colour");
        addRow("record without scenario", QStringList{"--record", "x"}, 2, "--record is only available");
        addRow("scenario folder missing", QStringList{"--port", "0", "--db", "DB", "--scenario", "/nonexistent"}, 1,
               "does not exist");
    }

    void commandLine()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, output);
        QTemporaryDir dir;
        args.replaceInStrings(QRegularExpression("^DB$"), dir.filePath("relay.db"));
        QProcess relay;
        relay.start(RelayProcess::executable(), args);
        QVERIFY(relay.waitForFinished(5000));
        QCOMPARE(relay.exitCode(), exitCode);
        const QByteArray text = exitCode == 0 ? relay.readAllStandardOutput() : relay.readAllStandardError();
        QVERIFY2(text.contains(output.toUtf8()), text.constData());
    }

    void defaultDatabaseIsPrivate()
    {
        QTemporaryDir dir;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_DATA_HOME", dir.filePath("data"));
        QProcess relay;
        relay.setProcessEnvironment(env);
        relay.start(RelayProcess::executable(), {"--port", "0"});
        QVERIFY(relay.waitForReadyRead(5000));
        QVERIFY(relay.readLine().startsWith("listening on http://127.0.0.1:"));
        const QString db = dir.filePath("data/halvora-relay/relay.db");
        QVERIFY(QFile::exists(db));
        QCOMPARE(QFile::permissions(db) & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup | QFile::WriteOther),
                 QFile::Permissions());
        QCOMPARE(QFileInfo(dir.filePath("data/halvora-relay")).permissions() & (QFile::ExeGroup | QFile::ExeOther),
                 QFile::Permissions());
        relay.terminate();
        QVERIFY(relay.waitForFinished(5000));
    }

    void stopSignals_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addColumn<QString>("activity");
        addRow("SIGTERM idle", int(SIGTERM), "idle");
        addRow("SIGINT idle", int(SIGINT), "idle");
        addRow("SIGTERM with an open stream", int(SIGTERM), "stream");
        addRow("SIGTERM with a kept-alive connection", int(SIGTERM), "keep-alive");
    }

    void stopSignals()
    {
        QFETCH(int, signal);
        QFETCH(QString, activity);
        RelayScenario scenario;
        RelayScenario::StreamOptions stall;
        stall.stallAfter = 1;
        scenario.addStream(RelayScenario::textEvents({"x"}), stall);
        RelayProcess relay;
        QVERIFY(relay.startScenario(scenario.dir()));
        OpenStreams streams;
        httplib::Client keptAlive("127.0.0.1", relay.port());
        keptAlive.set_keep_alive(true);
        if (activity == "stream") {
            streams.open(relay, 1);
            QTRY_COMPARE(activeStreams(relay), 1);
        } else if (activity == "keep-alive") {
            QCOMPARE(keptAlive.Get("/api/me")->status, 401);
        }
        ::kill(pid_t(relay.process().processId()), signal);
        QVERIFY(relay.process().waitForFinished(5000));
        QCOMPARE(relay.process().exitStatus(), QProcess::NormalExit);
        QCOMPARE(relay.process().exitCode(), 0);
        QVERIFY(relay.log().contains("stopping"));
    }
};

QTEST_GUILESS_MAIN(TestRelayRobustness)
#include "tst_relayrobustness.moc"
