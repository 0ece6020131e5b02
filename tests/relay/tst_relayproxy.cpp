// Proxy mode of the real relay process, with a second relay as the upstream Messages API:
// a demo relay for whole answers, a scenario relay for scripted upstream failures and to see
// what the proxy sent.
#include "RelayProcess.h"
#include "RelayScenario.h"
#include "RelayTestHttp.h"
#include "support/TestRows.h"

#include <QJsonDocument>
#include <QTest>
#include <atomic>
#include <thread>

using namespace RelayTestHttp;

namespace {

const QByteArray apiKey = "sk-test-0123456789-secret";
const QString model = "claude-test-model";

int activeStreams(const RelayProcess& relay)
{
    auto stats = client(relay)->Get("/__relay/stats");
    return stats ? json(stats->body).value("active_streams").toInt(-1) : -1;
}

} // namespace

class TestRelayProxy : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void answersThroughDemoUpstream()
    {
        RelayProcess upstream;
        QVERIFY(upstream.startDemo());
        RelayProcess proxy;
        QVERIFY2(proxy.startProxy(upstream.baseUrl().toString(), model, apiKey), qPrintable(proxy.startMessage()));
        const QString token = proxy.signIn();
        auto result =
            client(proxy)->Post("/api/ai/messages", modelHeaders(token), modelBody("relay me"), "application/json");
        QCOMPARE(result->status, 200);
        QCOMPARE(result->get_header_value("Content-Type"), "text/event-stream");
        QList<QJsonObject> events = dataObjects(result->body);
        QCOMPARE(events.last().value("type").toString(), "message_stop");
        QVERIFY(streamedText(events).contains("relay me"));

        // The user's own token is checked by the proxy, not passed upstream.
        auto refused =
            client(proxy)->Post("/api/ai/messages", modelHeaders("not-a-token"), modelBody("x"), "application/json");
        QCOMPARE(refused->status, 401);
        QCOMPARE(json(refused->body).value("error").toObject().value("type").toString(), "authentication_error");

        proxy.stop();
        QVERIFY(!proxy.log().contains(apiKey));
        QVERIFY(!proxy.log().contains(token.toUtf8()));
    }

    void forwardsKeyModelAndBody()
    {
        RelayScenario scenario;
        scenario.addStream(RelayScenario::textEvents({"ok"}), {}, "v1/messages");
        RelayProcess upstream;
        QVERIFY(upstream.startScenario(scenario.dir()));
        RelayProcess proxy;
        QVERIFY(proxy.startProxy(upstream.baseUrl().toString(), model, apiKey));
        const QString token = proxy.signIn();
        const std::string body = modelBody("forward this", "system text", true);
        auto result = client(proxy)->Post("/api/ai/messages", modelHeaders(token, "search"), body, "application/json");
        QCOMPARE(result->status, 200);
        QCOMPARE(streamedText(dataObjects(result->body)), "ok");

        QList<QJsonObject> recorded = upstream.recordedRequests();
        QCOMPARE(recorded.size(), 1);
        QCOMPARE(recorded[0].value("path").toString(), "/v1/messages");
        QJsonObject headers = recorded[0].value("headers").toObject();
        QCOMPARE(headers.value("x-api-key").toString().toUtf8(), apiKey);
        QCOMPARE(headers.value("anthropic-version").toString(), "2023-06-01");
        QCOMPARE(headers.value("content-type").toString(), "application/json");
        QVERIFY(!headers.contains("authorization"));
        QVERIFY(!headers.contains("x-halvora-action"));
        QJsonObject sent = QJsonDocument::fromJson(recorded[0].value("body").toString().toUtf8()).object();
        QCOMPARE(sent.value("model").toString(), model);
        QJsonObject original = json(body);
        for (const QString& key : original.keys())
            QCOMPARE(sent.value(key), original.value(key));
    }

    void upstreamStatuses_data()
    {
        QTest::addColumn<int>("upstreamStatus");
        QTest::addColumn<QByteArray>("upstreamBody");
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("sameBody");
        addRow("401: the relay's key", 401, RelayScenario::errorBody("authentication_error", "invalid x-api-key"), 502,
               false);
        addRow("403: the relay's key", 403, RelayScenario::errorBody("permission_error", "no"), 502, false);
        addRow("429 rate limit passes", 429, RelayScenario::errorBody("rate_limit_error", "Slow down"), 429, true);
        addRow("529 without body passes", 529, QByteArray(), 529, true);
        addRow("400 with message passes", 400, RelayScenario::errorBody("invalid_request_error", "too long"), 400,
               true);
        addRow("500 passes", 500, RelayScenario::errorBody("api_error", "Internal"), 500, true);
    }

    void upstreamStatuses()
    {
        QFETCH(int, upstreamStatus);
        QFETCH(QByteArray, upstreamBody);
        QFETCH(bool, sameBody);
        RelayScenario scenario;
        scenario.addResponse(upstreamStatus, upstreamBody, {{"retry-after", "3"}}, "v1/messages");
        RelayProcess upstream;
        QVERIFY(upstream.startScenario(scenario.dir()));
        RelayProcess proxy;
        QVERIFY(proxy.startProxy(upstream.baseUrl().toString(), model, apiKey));
        auto result =
            client(proxy)->Post("/api/ai/messages", modelHeaders(proxy.signIn()), modelBody("x"), "application/json");
        QTEST(result->status, "status");
        if (sameBody) {
            QCOMPARE(QByteArray::fromStdString(result->body), upstreamBody);
            QCOMPARE(result->get_header_value("Retry-After"), "3");
        } else {
            QJsonObject error = json(result->body).value("error").toObject();
            QCOMPARE(error.value("type").toString(), "api_error");
            QVERIFY(!error.value("message").toString().isEmpty());
        }
    }

    void streamsAsBytesArriveAndCancelsUpstream()
    {
        RelayScenario scenario;
        RelayScenario::StreamOptions options;
        options.stallAfter = 2; // the upstream sends two events, then nothing
        scenario.addStream(RelayScenario::textEvents({"a", "b"}), options, "v1/messages");
        RelayProcess upstream;
        QVERIFY(upstream.startScenario(scenario.dir()));
        RelayProcess proxy;
        QVERIFY(proxy.startProxy(upstream.baseUrl().toString(), model, apiKey));
        const QString token = proxy.signIn();

        httplib::Client streaming("127.0.0.1", proxy.port());
        std::atomic<size_t> received{0};
        std::thread reader([&] {
            httplib::Request request;
            request.method = "POST";
            request.path = "/api/ai/messages";
            request.headers = modelHeaders(token);
            request.body = modelBody("x");
            request.set_header("Content-Type", "application/json");
            request.content_receiver = [&](const char*, size_t size, uint64_t, uint64_t) {
                received += size;
                return true;
            };
            httplib::Response response;
            httplib::Error error;
            streaming.send(request, response, error);
        });
        // The proxy passes the upstream's first events on while the upstream is still sending.
        QTRY_VERIFY(received.load() > 0);
        QCOMPARE(activeStreams(upstream), 1);
        streaming.stop();
        reader.join();
        // The client went away: the proxy drops its upstream request at once.
        QTRY_COMPARE_WITH_TIMEOUT(activeStreams(upstream), 0, 2000);
    }

    void unreachableUpstream()
    {
        RelayProcess gone;
        QVERIFY(gone.startDemo());
        const QString address = gone.baseUrl().toString();
        QCOMPARE(gone.stop(), 0);
        RelayProcess proxy;
        QVERIFY(proxy.startProxy(address, model, apiKey));
        auto result =
            client(proxy)->Post("/api/ai/messages", modelHeaders(proxy.signIn()), modelBody("x"), "application/json");
        QCOMPARE(result->status, 502);
        QCOMPARE(json(result->body).value("type").toString(), "error");
    }

    void refusesToStartWithoutKey()
    {
        RelayProcess proxy;
        QVERIFY(!proxy.startProxy("http://127.0.0.1:9/", model, ""));
        QVERIFY2(proxy.startMessage().contains("ANTHROPIC_API_KEY"), qPrintable(proxy.startMessage()));
    }
};

QTEST_GUILESS_MAIN(TestRelayProxy)
#include "tst_relayproxy.moc"
