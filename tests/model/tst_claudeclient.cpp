#include "RelayProcess.h"
#include "RelayScenario.h"
#include "model/ClaudeClient.h"
#include "model/ClaudeTurn.h"
#include "model/ConversationHistory.h"
#include "platform/fake/FakeClock.h"
#include "support/TestRows.h"

#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTest>

// Whole turns against the real account service in scenario mode: what the client sends,
// how it reads the stream, retries, continues paused answers, fails and is cancelled.
class TestClaudeClient : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void sendsTheRequest_data();
    void sendsTheRequest();
    void endsTurns_data();
    void endsTurns();
    void continuationResendsEverything();
    void networkFailureIsNotRetried();
    void silentStreamTimesOut();
    void cancelWhileStreaming();
    void retryWaitsOneAndAHalfSeconds_data();
    void retryWaitsOneAndAHalfSeconds();
    void cancelFromAnEventHandler();
};

using Script = std::function<void(RelayScenario&)>;
Q_DECLARE_METATYPE(Script)

namespace {

QJsonObject object(const char* json)
{
    return QJsonDocument::fromJson(json).object();
}

QList<QJsonObject> withStop(QList<QJsonObject> events, const char* delta)
{
    events.insert(events.size() - 1, object(delta));
    return events;
}

// The pause before the one repeated request.
constexpr int retryDelayMs = 1500;

// One turn run to its end, moving the fake clock past a retry wait whenever the turn is idle.
// That the wait lasts as long as it should is retryWaitsOneAndAHalfSeconds' business.
struct Turn {
    QStringList texts;
    std::optional<TurnOutcome> outcome;
    TaskHandle handle;

    void start(const ClaudeClient& client, const AIAction& action = AIAction::explain(),
               const std::optional<QString>& token = QStringLiteral("hv_token"))
    {
        const QJsonArray messages{QJsonObject{{"role", "user"}, {"content", "Hello"}}};
        handle = client.streamTurn(
            "You help.", messages, action, token,
            [this](const ClaudeEvent& event) {
                if (event.kind == ClaudeEvent::Kind::TextDelta)
                    texts << event.text;
            },
            [this](const TurnOutcome& result) { outcome = result; });
    }
    bool finish(FakeClock& clock)
    {
        for (int round = 0; round < 50 && !outcome; ++round) {
            if (!QTest::qWaitFor([&] { return outcome.has_value(); }, 100))
                clock.advance(retryDelayMs);
        }
        return outcome.has_value();
    }
    QString summary() const
    {
        if (const auto* result = std::get_if<TurnResult>(&*outcome))
            return "result: " + ConversationHistory::text(result->content) + " / " +
                   result->stopReason.value_or("none");
        const TurnError& error = std::get<TurnError>(*outcome);
        const ClaudeError* claude = error.claudeError();
        const QString kind = claude ? "claude" : error.kind() == TurnError::Kind::Parse ? "parse" : "network";
        return QStringLiteral("error: %1 %2 %3").arg(kind).arg(claude ? claude->status() : 0).arg(error.message());
    }
};

QJsonObject bodyOf(const QJsonObject& recorded)
{
    return QJsonDocument::fromJson(recorded["body"].toString().toUtf8()).object();
}

QString header(const QJsonObject& recorded, const char* name)
{
    return recorded["headers"].toObject()[name].toString();
}

int activeStreams(const RelayProcess& relay)
{
    QNetworkAccessManager network;
    QNetworkReply* reply = network.get(QNetworkRequest(QUrl(relay.url("__relay/stats"))));
    if (!QTest::qWaitFor([&] { return reply->isFinished(); }, 5000))
        return -1;
    reply->deleteLater();
    return QJsonDocument::fromJson(reply->readAll()).object()["active_streams"].toInt(-1);
}

// The relay in scenario mode with a client speaking to it: add steps to `scenario`, then start().
// The client's network closes its connections before the relay stops.
struct Served {
    RelayScenario scenario;
    RelayProcess relay;
    QNetworkAccessManager network;
    FakeClock clock;

    bool start()
    {
        const bool started = relay.startScenario(scenario.dir());
        if (!started)
            qWarning("%s", qPrintable(relay.startMessage()));
        return started;
    }
    ClaudeClient client() { return ClaudeClient(relay.baseUrl(), &clock, &network); }
};

} // namespace

void TestClaudeClient::sendsTheRequest_data()
{
    QTest::addColumn<AIAction>("action");
    QTest::addColumn<int>("maxTokens");
    QTest::addColumn<QString>("effort");
    QTest::addColumn<QString>("actionHeader");

    const WritingMode mode{QUuid::createUuid(), "Pirate", "Talk like a pirate."};
    addRow("rewrite", AIAction::rewrite(RewriteStyle::Grammar), 16000, "low", "rewrite");
    addRow("writing mode", AIAction::custom(mode), 16000, "low", "rewrite");
    addRow("translate", AIAction::translate(), 16000, "low", "explain");
    addRow("explain", AIAction::explain(), 16000, "medium", "explain");
    addRow("ask", AIAction::ask(), 16000, "medium", "ask");
    addRow("web search", AIAction::webSearch(), 16000, "medium", "search");
    addRow("chat", AIAction::chat(false), 32000, "medium", "ask");
    addRow("deep chat", AIAction::chat(true), 32000, "high", "research");
    addRow("research", AIAction::research(), 32000, "high", "research");
}

void TestClaudeClient::sendsTheRequest()
{
    QFETCH(AIAction, action);
    QFETCH(QString, effort);
    Served served;
    served.scenario.addStream(RelayScenario::textEvents({"Hi"}));
    QVERIFY(served.start());
    Turn turn;
    turn.start(served.client(), action);
    QVERIFY(turn.finish(served.clock));
    QCOMPARE(turn.summary(), "result: Hi / end_turn");

    const QList<QJsonObject> requests = served.relay.recordedRequests();
    QCOMPARE(requests.size(), 1);
    QCOMPARE(requests[0]["method"].toString(), "POST");
    QCOMPARE(requests[0]["path"].toString(), "/api/ai/messages");
    QCOMPARE(header(requests[0], "content-type"), "application/json");
    QCOMPARE(header(requests[0], "authorization"), "Bearer hv_token");
    QTEST(header(requests[0], "x-halvora-action"), "actionHeader");
    const QJsonObject body = bodyOf(requests[0]);
    QStringList keys{"max_tokens", "messages", "output_config", "stream", "system"};
    if (!action.tools().isEmpty())
        keys.append("tools");
    QCOMPARE(body.keys(), keys);
    QTEST(body["max_tokens"].toInt(), "maxTokens");
    QCOMPARE(body["stream"], QJsonValue(true));
    QCOMPARE(body["system"].toString(), "You help.");
    QCOMPARE(body["output_config"].toObject(), (QJsonObject{{"effort", effort}}));
    QCOMPARE(body["messages"].toArray().size(), 1);
    QCOMPARE(body.value("tools").toArray(), action.tools());
}

void TestClaudeClient::endsTurns_data()
{
    QTest::addColumn<Script>("script");
    QTest::addColumn<QString>("token");
    QTest::addColumn<int>("requests");
    QTest::addColumn<QString>("texts");
    // "result: <answer> / <stop reason>" or "error: <kind> <status> <user message>"
    QTest::addColumn<QString>("outcome");

    const QString busy = "error: claude 529 The AI service is busy right now. Try again shortly.";
    const auto answer = [](const QString& text, const QString& stop = "end_turn") {
        return RelayScenario::textEvents({text}, stop);
    };
    addRow("plain answer", Script([&](RelayScenario& s) { s.addStream(answer("Hi")); }), "hv", 1, "Hi",
           "result: Hi / end_turn");
    addRow("no token", Script([](RelayScenario&) {}), QString(), 0, "", "error: claude 0 Sign in to use Halvora.");
    addRow("empty token", Script([](RelayScenario&) {}), "", 0, "", "error: claude 0 Sign in to use Halvora.");
    addRow("201 is a failure", Script([](RelayScenario& s) { s.addError(201, "odd", "Created?"); }), "hv", 1, "",
           "error: claude 201 Created?");
    addRow("529 twice fails", Script([](RelayScenario& s) {
               s.addResponse(529);
               s.addResponse(529);
           }),
           "hv", 2, "", busy);
    addRow("500 then an answer", Script([&](RelayScenario& s) {
               s.addResponse(500, "oops");
               s.addStream(answer("Hi"));
           }),
           "hv", 2, "Hi", "result: Hi / end_turn");
    addRow("overloaded mid-stream is retried", Script([&](RelayScenario& s) {
               QList<QJsonObject> events = answer("Hel").mid(0, 3);
               events << object(R"({"type":"error","error":{"type":"overloaded_error","message":"Overloaded"}})");
               s.addStream(events);
               s.addStream(answer("Hello"));
           }),
           "hv", 2, "Hel|Hello", "result: Hello / end_turn");
    addRow("429 rate limit is retried once", Script([](RelayScenario& s) {
               s.addError(429, "rate_limit_error", "Slow down");
               s.addError(429, "rate_limit_error", "Slow down");
           }),
           "hv", 2, "", "error: claude 429 Slow down");
    addRow("429 of another type is not retried", Script([&](RelayScenario& s) {
               s.addError(429, "quota_error", "Quota");
               s.addStream(answer("never"));
           }),
           "hv", 1, "", "error: claude 429 Quota");
    addRow("429 without a body is not retried", Script([&](RelayScenario& s) {
               s.addResponse(429);
               s.addStream(answer("never"));
           }),
           "hv", 1, "", "error: claude 429 Too many requests. Wait a moment and try again.");
    addRow("six pauses give six requests", Script([&](RelayScenario& s) {
               for (int i = 0; i < 7; ++i)
                   s.addStream(answer("part ", i < 6 ? "pause_turn" : "end_turn"));
           }),
           "hv", 6, "part |part |part |part |part |part ", "result: part part part part part part  / pause_turn");
    addRow("failed continuation after content is not retried", Script([&](RelayScenario& s) {
               s.addStream(answer("part ", "pause_turn"));
               s.addResponse(503);
               s.addStream(answer("never"));
           }),
           "hv", 2, "part ", "error: claude 503 Something went wrong (503). Try again.");
    addRow("cut-off data line", Script([&](RelayScenario& s) {
               s.addRawStream(RelayScenario::formatEvents(answer("Hi").mid(0, 3)) + "data: {\"type\":\"mess\n\n");
           }),
           "hv", 1, "Hi", "error: parse 0 unterminated string");
    addRow("array and number lines are skipped", Script([&](RelayScenario& s) {
               s.addRawStream("data: [1,2]\n\ndata: 42\n\n" + RelayScenario::formatEvents(answer("ok")));
           }),
           "hv", 1, "ok", "result: ok / end_turn");
    addRow("CR and CRLF line ends", Script([&](RelayScenario& s) {
               QByteArray events = RelayScenario::formatEvents(answer("a"));
               s.addRawStream(events.replace("\n\n", "\r\n\r\n").replace("\ndata", "\rdata"));
           }),
           "hv", 1, "a", "result: a / end_turn");
    addRow("refusal with explanation", Script([&](RelayScenario& s) {
               s.addStream(withStop(answer("No", "refusal"),
                                    R"({"type":"message_delta","delta":{"stop_details":{"explanation":"Unsafe."}}})"));
           }),
           "hv", 1, "No", "error: claude 0 Claude declined this request. Unsafe.");
    addRow("refusal without explanation", Script([&](RelayScenario& s) { s.addStream(answer("", "refusal")); }), "hv",
           1, "", "error: claude 0 Claude declined this request.");
    addRow("broken transfer is a network error", Script([&](RelayScenario& s) {
               s.addStream(answer("Hi"), RelayScenario::StreamOptions{0, 3, -1});
               s.addStream(answer("never"));
           }),
           "hv", 1, "Hi", "error: network 0 Connection closed");
}

void TestClaudeClient::endsTurns()
{
    QFETCH(Script, script);
    QFETCH(QString, token);
    Served served;
    script(served.scenario);
    QVERIFY(served.start());
    Turn turn;
    turn.start(served.client(), AIAction::explain(), token.isNull() ? std::nullopt : std::optional<QString>(token));
    QVERIFY(turn.finish(served.clock));
    QTEST(turn.summary(), "outcome");
    QTEST(turn.texts.join('|'), "texts");
    QTEST(int(served.relay.recordedRequests().size()), "requests");
}

void TestClaudeClient::continuationResendsEverything()
{
    Served served;
    for (const char* part : {"one ", "two "})
        served.scenario.addStream(RelayScenario::textEvents({part}, "pause_turn"));
    served.scenario.addStream(RelayScenario::textEvents({"three"}));
    QVERIFY(served.start());
    Turn turn;
    turn.start(served.client());
    QVERIFY(turn.finish(served.clock));
    const QList<QJsonObject> requests = served.relay.recordedRequests();
    QCOMPARE(requests.size(), 3);
    QCOMPARE(bodyOf(requests[0])["messages"].toArray().size(), 1);
    const QJsonArray last = bodyOf(requests[2])["messages"].toArray();
    QCOMPARE(last.size(), 2);
    QCOMPARE(last[1]["role"].toString(), "assistant");
    QList<QJsonObject> replayed;
    for (const QJsonValue& block : last[1]["content"].toArray())
        replayed << block.toObject();
    QCOMPARE(replayed.size(), 2);
    QCOMPARE(ConversationHistory::text(replayed), "one two ");
    const auto& result = std::get<TurnResult>(*turn.outcome);
    QCOMPARE(ConversationHistory::text(result.content), "one two three");
    QCOMPARE(result.stopReason, std::optional<QString>("end_turn"));
}

void TestClaudeClient::networkFailureIsNotRetried()
{
    QUrl closed;
    {
        RelayProcess gone;
        RelayScenario scenario;
        QVERIFY(gone.startScenario(scenario.dir()));
        closed = gone.baseUrl();
    }
    FakeClock clock;
    Turn turn;
    turn.start(ClaudeClient(closed, &clock));
    QVERIFY(turn.finish(clock));
    const TurnError& error = std::get<TurnError>(*turn.outcome);
    QCOMPARE(error.kind(), TurnError::Kind::Network);
    QCOMPARE(error.networkCode(), QNetworkReply::ConnectionRefusedError);
    QCOMPARE(error.message(), "Connection refused");
}

void TestClaudeClient::silentStreamTimesOut()
{
    Served served;
    served.scenario.addStream(RelayScenario::textEvents({"Hi"}), RelayScenario::StreamOptions{0, -1, 3});
    QVERIFY(served.start());
    Turn turn;
    turn.start(served.client());
    QTRY_COMPARE(turn.texts, QStringList{"Hi"});
    served.clock.advance(StreamRequest::kIdleTimeoutMs - 1);
    QTest::qWait(20);
    QVERIFY(!turn.outcome);
    served.clock.advance(1);
    QVERIFY(turn.outcome);
    const TurnError& error = std::get<TurnError>(*turn.outcome);
    QCOMPARE(error.networkCode(), QNetworkReply::TimeoutError);
    QVERIFY(!error.isCancellation());
    QTRY_COMPARE(activeStreams(served.relay), 0);
    QCOMPARE(served.relay.recordedRequests().size(), 1);
}

void TestClaudeClient::cancelWhileStreaming()
{
    Served served;
    served.scenario.addStream(RelayScenario::textEvents({"Hi", "there"}), RelayScenario::StreamOptions{0, -1, 3});
    served.scenario.addStream(RelayScenario::textEvents({"never"}));
    QVERIFY(served.start());
    Turn turn;
    turn.start(served.client());
    QTRY_COMPARE(turn.texts, QStringList{"Hi"});
    QCOMPARE(activeStreams(served.relay), 1);
    turn.handle.cancel();
    QTRY_COMPARE(activeStreams(served.relay), 0);
    served.clock.advance(10000);
    QTest::qWait(50);
    QVERIFY(!turn.outcome);
    QCOMPARE(turn.texts, QStringList{"Hi"});
    QCOMPARE(served.relay.recordedRequests().size(), 1);
}

void TestClaudeClient::retryWaitsOneAndAHalfSeconds_data()
{
    QTest::addColumn<bool>("cancel");
    QTest::newRow("waited out, then sent again") << false;
    QTest::newRow("cancelled during the wait") << true;
}

void TestClaudeClient::retryWaitsOneAndAHalfSeconds()
{
    QFETCH(bool, cancel);
    Served served;
    served.scenario.addResponse(529);
    served.scenario.addStream(RelayScenario::textEvents({"after"}));
    QVERIFY(served.start());
    Turn turn;
    turn.start(served.client());
    QTRY_COMPARE(served.relay.recordedRequests().size(), 1);
    QTest::qWait(50);
    served.clock.advance(retryDelayMs - 1);
    QTest::qWait(100);
    QCOMPARE(served.relay.recordedRequests().size(), 1);
    QVERIFY(!turn.outcome);
    if (cancel) {
        turn.handle = TaskHandle();
        served.clock.advance(5000);
        QTest::qWait(100);
        QVERIFY(!turn.outcome);
        QCOMPARE(served.relay.recordedRequests().size(), 1);
        return;
    }
    served.clock.advance(1);
    QTRY_VERIFY(turn.outcome);
    QCOMPARE(turn.summary(), "result: after / end_turn");
    QCOMPARE(served.relay.recordedRequests().size(), 2);
}

void TestClaudeClient::cancelFromAnEventHandler()
{
    Served served;
    served.scenario.addStream(
        {object(R"({"type":"content_block_start","index":0,"content_block":{"type":"web_search_tool_result",)"
                R"("content":[{"url":"https://a.example","title":"A"},{"url":"https://b.example"}]}})")});
    QVERIFY(served.start());
    int events = 0;
    TaskHandle handle;
    std::optional<TurnOutcome> outcome;
    handle = served.client().streamTurn(
        "s", {}, AIAction::research(), QStringLiteral("hv"),
        [&](const ClaudeEvent&) {
            ++events;
            handle.cancel();
        },
        [&](const TurnOutcome& result) { outcome = result; });
    QTRY_COMPARE(events, 1);
    QTest::qWait(100);
    QCOMPARE(events, 1);
    QVERIFY(!outcome);
}

QTEST_GUILESS_MAIN(TestClaudeClient)
#include "tst_claudeclient.moc"
