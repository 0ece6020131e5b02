// Scenario mode of the real relay process: scripted statuses, bodies and event streams in
// order, per path, cut off or stalled, and the record of what the client sent.
#include "RelayProcess.h"
#include "RelayScenario.h"
#include "RelayTestHttp.h"
#include "support/TestRows.h"

#include <QFile>
#include <QTest>
#include <thread>

using namespace RelayTestHttp;

namespace {

const QByteArray rawStream =
    "event: message_start\ndata: {\"type\":\"message_start\"}\n\n"
    ": a comment line\n\n"
    "event: content_block_delta\ndata: {\"type\":\"content_block_delta\",\"ind\n\n"
    "event: error\ndata: {\"type\":\"error\",\"error\":{\"type\":\"overloaded_error\"}}\r\n\r\n";

int activeStreams(const RelayProcess& relay)
{
    auto stats = client(relay)->Get("/__relay/stats");
    return stats ? json(stats->body).value("active_streams").toInt(-1) : -1;
}

} // namespace

class TestRelayScenario : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void scriptedResponse_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("stream");
        QTest::addColumn<QString>("contentType");
        addRow("429 rate_limit_error", 429, RelayScenario::errorBody("rate_limit_error", "Slow down"), false,
               "application/json");
        addRow("429 other type", 429, RelayScenario::errorBody("api_error", ""), false, "application/json");
        addRow("529 without body", 529, QByteArray(), false, "application/json");
        addRow("201 is not 200", 201, QByteArray("{}"), false, "application/json");
        addRow("502 not json", 502, QByteArray("<html>bad gateway</html>"), false, "application/json");
        addRow("malformed stream replayed exactly", 200, rawStream, true, "text/event-stream");
        addRow("refusal stream", 200,
               RelayScenario::formatEvents(RelayScenario::textEvents({"I can", "not"}, "refusal")), true,
               "text/event-stream");
    }

    void scriptedResponse()
    {
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(bool, stream);
        RelayScenario scenario;
        if (stream)
            scenario.addRawStream(body);
        else
            scenario.addResponse(status, body, {{"Retry-After", "7"}});
        RelayProcess relay;
        QVERIFY2(relay.startScenario(scenario.dir()), qPrintable(relay.startMessage()));
        auto result = client(relay)->Post("/api/ai/messages", modelHeaders("any"), "{}", "application/json");
        QVERIFY(result);
        QCOMPARE(result->status, status);
        QCOMPARE(QByteArray::fromStdString(result->body), body);
        QTEST(QString::fromStdString(result->get_header_value("Content-Type")), "contentType");
        if (!stream)
            QCOMPARE(result->get_header_value("Retry-After"), "7");
    }

    void stepsInOrderPerPathAndRecorded()
    {
        RelayScenario scenario;
        scenario.addError(529, "overloaded_error", "Overloaded");
        scenario.addResponse(500, "", {}, "api/me");
        scenario.addStream(RelayScenario::textEvents({"Hel", "lo"}));
        RelayProcess relay;
        QVERIFY(relay.startScenario(scenario.dir()));
        auto c = client(relay);
        const std::string first = modelBody("one"), second = modelBody("two");
        QCOMPARE(c->Post("/api/ai/messages", modelHeaders("tok-1", "rewrite"), first, "application/json")->status, 529);
        QCOMPARE(c->Get("/api/me", {{"Authorization", "Bearer tok-1"}})->status, 500);
        QCOMPARE(c->Get("/api/me", {{"Authorization", "Bearer tok-1"}})->status, 401); // queue empty: the real endpoint
        auto streamed = c->Post("/api/ai/messages", modelHeaders("tok-2", "search"), second, "application/json");
        QCOMPARE(streamed->status, 200);
        QCOMPARE(streamedText(dataObjects(streamed->body)), "Hello");

        QList<QJsonObject> recorded = relay.recordedRequests();
        QCOMPARE(recorded.size(), 4);
        QCOMPARE(recorded[0].value("path").toString(), "/api/ai/messages");
        QCOMPARE(recorded[0].value("method").toString(), "POST");
        QJsonObject headers = recorded[0].value("headers").toObject();
        QCOMPARE(headers.value("authorization").toString(), "Bearer tok-1");
        QCOMPARE(headers.value("x-halvora-action").toString(), "rewrite");
        QCOMPARE(headers.value("content-type").toString(), "application/json");
        QCOMPARE(recorded[0].value("body").toString().toStdString(), first);
        QCOMPARE(recorded[1].value("path").toString(), "/api/me");
        QCOMPARE(recorded[3].value("body").toString().toStdString(), second);
        QCOMPARE(recorded[3].value("headers").toObject().value("x-halvora-action").toString(), "search");
    }

    void exhaustedScenario()
    {
        RelayScenario scenario;
        RelayProcess relay;
        QVERIFY(relay.startScenario(scenario.dir()));
        auto result = client(relay)->Post("/api/ai/messages", modelHeaders("t"), modelBody("x"), "application/json");
        QCOMPARE(result->status, 500);
        QCOMPARE(json(result->body).value("error").toObject().value("type").toString(), "api_error");
    }

    void cutStreamBreaksTransfer()
    {
        const QList<QJsonObject> events = RelayScenario::textEvents({"a", "b", "c", "d"});
        RelayScenario scenario;
        RelayScenario::StreamOptions options;
        options.cutAfter = 3;
        scenario.addStream(events, options);
        RelayProcess relay;
        QVERIFY(relay.startScenario(scenario.dir()));
        auto result = client(relay)->Post("/api/ai/messages", modelHeaders("t"), modelBody("x"), "application/json");
        // A broken chunked transfer is a failed request, not a short success.
        QVERIFY(!result || result.error() != httplib::Error::Success);
        QTRY_COMPARE(activeStreams(relay), 0);
    }

    void stalledStreamIsFreedOnDisconnect()
    {
        RelayScenario scenario;
        RelayScenario::StreamOptions options;
        options.stallAfter = 2;
        scenario.addStream(RelayScenario::textEvents({"x"}), options);
        RelayProcess relay;
        QVERIFY(relay.startScenario(scenario.dir()));
        httplib::Client streaming("127.0.0.1", relay.port());
        std::thread reader(
            [&] { streaming.Post("/api/ai/messages", modelHeaders("t"), modelBody("x"), "application/json"); });
        QTRY_COMPARE(activeStreams(relay), 1);
        streaming.stop();
        reader.join();
        QTRY_COMPARE_WITH_TIMEOUT(activeStreams(relay), 0, 2000);
    }

    void badScenarioStopsStart_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("content");
        addRow("not json", "001.json", QByteArray("{status: 200"));
        addRow("bad status", "001.json", QByteArray(R"({"status": 42})"));
        addRow("missing events file", "001.json", QByteArray(R"({"sse_file": "none.events"})"));
        addRow("events file outside", "001.json", QByteArray(R"({"sse_file": "../x.events"})"));
    }

    void badScenarioStopsStart()
    {
        QFETCH(QString, fileName);
        QFETCH(QByteArray, content);
        RelayScenario scenario;
        QFile file(scenario.dir() + "/" + fileName);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();
        RelayProcess relay;
        QVERIFY(!relay.startScenario(scenario.dir()));
        QVERIFY2(relay.startMessage().contains(fileName), qPrintable(relay.startMessage()));
        QCOMPARE(relay.stop(), 1);
    }
};

QTEST_GUILESS_MAIN(TestRelayScenario)
#include "tst_relayscenario.moc"
