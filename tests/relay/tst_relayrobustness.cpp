// The real relay process under bad input, many streams at once, clients that leave
// mid-stream, and stop signals.
#include "RelayProcess.h"
#include "RelayScenario.h"
#include "RelayTestHttp.h"

#include <QTest>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include <signal.h>

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

private Q_SLOTS:
    void initTestCase();
    void badRequests_data();
    void badRequests();
    void concurrentDemoStreams();
    void manyOpenStreamsAreFreed();
    void stopSignals_data();
    void stopSignals();

private:
    RelayProcess m_relay;
    QString m_token;
};

void TestRelayRobustness::initTestCase()
{
    QVERIFY(m_relay.startDemo());
    m_token = m_relay.signIn();
    QVERIFY(!m_token.isEmpty());
}

void TestRelayRobustness::badRequests_data()
{
    QTest::addColumn<QString>("method");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("signedIn");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("errorType"); // Messages API error type, or "account" for {"error": text}
    const QByteArray good = R"({"messages":[{"role":"user","content":"hi"}]})";
    QTest::newRow("malformed JSON") << "POST" << "/api/ai/messages" << QByteArray("{\"messages\": [") << true << 400
                                    << "invalid_request_error";
    QTest::newRow("body is an array") << "POST" << "/api/ai/messages" << QByteArray("[]") << true << 400
                                      << "invalid_request_error";
    QTest::newRow("messages is a string") << "POST" << "/api/ai/messages" << QByteArray(R"({"messages":"hi"})") << true
                                          << 400 << "invalid_request_error";
    QTest::newRow("content is a number") << "POST" << "/api/ai/messages"
                                         << QByteArray(R"({"messages":[{"role":"user","content":1}]})") << true << 400
                                         << "invalid_request_error";
    QTest::newRow("invalid UTF-8") << "POST" << "/api/ai/messages" << QByteArray("{\"messages\":[\"\xff\xfe\"]}") << true
                                   << 400 << "invalid_request_error";
    QTest::newRow("no token") << "POST" << "/api/ai/messages" << good << false << 401 << "authentication_error";
    QTest::newRow("over 8 MB") << "POST" << "/api/ai/messages" << QByteArray(8 * 1024 * 1024 + 1, 'a') << true << 413
                               << "request_too_large";
    QTest::newRow("unknown path") << "GET" << "/api/nothing" << QByteArray() << true << 404 << "not_found_error";
    QTest::newRow("path below a route") << "POST" << "/api/ai/messages/x" << good << true << 404 << "not_found_error";
    QTest::newRow("GET on the relay") << "GET" << "/api/ai/messages" << QByteArray() << true << 405
                                      << "invalid_request_error";
    QTest::newRow("DELETE on me") << "DELETE" << "/api/me" << QByteArray() << true << 405 << "invalid_request_error";
    QTest::newRow("exchange with a list") << "POST" << "/api/auth/app/exchange" << QByteArray("[1,2]") << false << 400
                                          << "account";
    QTest::newRow("huge header") << "GET" << "/api/me" << QByteArray() << true << 400 << "invalid_request_error";
}

void TestRelayRobustness::badRequests()
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

void TestRelayRobustness::concurrentDemoStreams()
{
    RelayProcess relay;
    QVERIFY(relay.startDemo({.paceMs = 2, .extraArgs = {}}));
    const QString token = relay.signIn();
    std::vector<QString> texts(streamCount);
    std::vector<std::thread> threads;
    for (int i = 0; i < streamCount; ++i) {
        threads.emplace_back([&, i] {
            httplib::Client c("127.0.0.1", relay.port());
            c.set_read_timeout(30);
            auto result = c.Post("/api/ai/messages", modelHeaders(token), modelBody("same text"), "application/json");
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

void TestRelayRobustness::manyOpenStreamsAreFreed()
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

void TestRelayRobustness::stopSignals_data()
{
    QTest::addColumn<int>("signal");
    QTest::addColumn<QString>("activity");
    QTest::newRow("SIGTERM idle") << int(SIGTERM) << "idle";
    QTest::newRow("SIGINT idle") << int(SIGINT) << "idle";
    QTest::newRow("SIGTERM with an open stream") << int(SIGTERM) << "stream";
    QTest::newRow("SIGTERM with a kept-alive connection") << int(SIGTERM) << "keep-alive";
}

void TestRelayRobustness::stopSignals()
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

QTEST_GUILESS_MAIN(TestRelayRobustness)
#include "tst_relayrobustness.moc"
