#include "LoopbackServer.h"
#include "model/ClaudeClient.h"
#include "model/ClaudeTurn.h"
#include "model/ConversationHistory.h"
#include "platform/fake/FakeClock.h"

#include <QJsonDocument>
#include <QTest>

// Whole turns over real HTTP on the loopback interface: the request the client sends, how
// it reads the stream, retries, continues paused answers, fails and is cancelled.
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
    void cancelDuringRetryWait();
    void cancelFromAnEventHandler();
};

Q_DECLARE_METATYPE(QList<LoopbackServer::Reply>)

namespace {

using Reply = LoopbackServer::Reply;

QByteArray textBlock(int index, const QByteArray& text)
{
    return "data: {\"type\":\"content_block_start\",\"index\":" + QByteArray::number(index) +
           ",\"content_block\":{\"type\":\"text\",\"text\":\"\"}}\n\ndata: "
           "{\"type\":\"content_block_delta\",\"index\":" +
           QByteArray::number(index) + ",\"delta\":{\"type\":\"text_delta\",\"text\":\"" + text + "\"}}";
}

QByteArray stopWith(const QByteArray& reason, const QByteArray& details = "null")
{
    return "data: {\"type\":\"message_delta\",\"delta\":{\"stop_reason\":\"" + reason +
           "\",\"stop_details\":" + details + "}}";
}

Reply answer(const QByteArray& text, const QByteArray& reason = "end_turn")
{
    return LoopbackServer::events({textBlock(0, text), stopWith(reason)});
}

Reply failure(int status, const QByteArray& body)
{
    return Reply{status, {body}, false};
}

// One turn run to its end, driving the fake clock whenever the turn waits on it.
struct Turn {
    QStringList texts;
    std::optional<TurnOutcome> outcome;
    TaskHandle handle;

    void start(const ClaudeClient& client, const RequestProfile& profile = {},
               const std::optional<QString>& token = QStringLiteral("hv_token"))
    {
        const QJsonArray messages{QJsonObject{{"role", "user"}, {"content", "Hello"}}};
        handle = client.streamTurn(
            "You help.", messages, profile, token,
            [this](const ClaudeEvent& event) {
                if (event.kind == ClaudeEvent::Kind::TextDelta)
                    texts << event.text;
            },
            [this](const TurnOutcome& result) { outcome = result; });
    }
    bool finish(FakeClock& clock)
    {
        for (int round = 0; round < 40 && !outcome; ++round) {
            if (!QTest::qWaitFor([&] { return outcome.has_value(); }, 100))
                clock.advance(ClaudeTurn::kRetryDelayMs);
        }
        return outcome.has_value();
    }
};

QJsonObject bodyOf(const LoopbackServer::Request& request)
{
    return QJsonDocument::fromJson(request.body).object();
}

QByteArray header(const LoopbackServer::Request& request, const QByteArray& name)
{
    for (const auto& [key, value] : request.headers) {
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    }
    return {};
}

} // namespace

void TestClaudeClient::sendsTheRequest_data()
{
    QTest::addColumn<AIAction>("action");
    QTest::addColumn<int>("maxTokens");
    QTest::addColumn<QString>("effort");
    QTest::addColumn<QString>("actionHeader");

    const WritingMode mode{QUuid::createUuid(), "Pirate", "Talk like a pirate."};
    QTest::newRow("rewrite") << AIAction::rewrite(RewriteStyle::grammar) << 16000 << "low"
                             << "rewrite";
    QTest::newRow("writing mode") << AIAction::custom(mode) << 16000 << "low"
                                  << "rewrite";
    QTest::newRow("translate") << AIAction::translate() << 16000 << "low"
                               << "explain";
    QTest::newRow("explain") << AIAction::explain() << 16000 << "medium"
                             << "explain";
    QTest::newRow("ask") << AIAction::ask() << 16000 << "medium"
                         << "ask";
    QTest::newRow("web search") << AIAction::webSearch() << 16000 << "medium"
                                << "search";
    QTest::newRow("chat") << AIAction::chat(false) << 32000 << "medium"
                          << "ask";
    QTest::newRow("deep chat") << AIAction::chat(true) << 32000 << "high"
                               << "research";
    QTest::newRow("research") << AIAction::research() << 32000 << "high"
                              << "research";
}

void TestClaudeClient::sendsTheRequest()
{
    QFETCH(AIAction, action);
    QFETCH(int, maxTokens);
    QFETCH(QString, effort);
    QFETCH(QString, actionHeader);
    LoopbackServer server;
    server.enqueue(answer("Hi"));
    FakeClock clock;
    QUrl base = server.baseUrl();
    base.setPath(QStringLiteral("/relay"));
    Turn turn;
    turn.start(ClaudeClient(base, &clock), RequestProfile::forAction(action));
    QVERIFY(turn.finish(clock));

    QCOMPARE(server.requests().size(), 1);
    const LoopbackServer::Request& request = server.requests().first();
    QCOMPARE(request.method, "POST");
    QCOMPARE(request.path, "/relay/api/ai/messages");
    QCOMPARE(header(request, "content-type"), "application/json");
    QCOMPARE(header(request, "Authorization"), "Bearer hv_token");
    QCOMPARE(header(request, "X-Halvora-Action"), actionHeader.toUtf8());
    const QJsonObject body = bodyOf(request);
    QStringList expectedKeys{"max_tokens", "messages", "output_config", "stream", "system"};
    if (!action.tools().isEmpty())
        expectedKeys.append("tools");
    QCOMPARE(body.keys(), expectedKeys);
    QCOMPARE(body["max_tokens"].toInt(), maxTokens);
    QCOMPARE(body["stream"], QJsonValue(true));
    QCOMPARE(body["system"].toString(), "You help.");
    QCOMPARE(body["output_config"].toObject(), (QJsonObject{{"effort", effort}}));
    QCOMPARE(body["messages"].toArray().size(), 1);
    QCOMPARE(body.value("tools").toArray(), action.tools());
    QCOMPARE(body, ClaudeClient::requestBody("You help.", body["messages"].toArray(), action));
}

void TestClaudeClient::endsTurns_data()
{
    QTest::addColumn<QList<Reply>>("replies");
    QTest::addColumn<QString>("token");
    QTest::addColumn<int>("requests");
    QTest::addColumn<QString>("texts");
    // "result: <answer> / <stop reason>" or "error: <kind> <status> <user message>"
    QTest::addColumn<QString>("outcome");

    const QString busy = "error: claude 529 The AI service is busy right now. Try again shortly.";
    const Reply overloaded = LoopbackServer::events(
        {textBlock(0, "Hel"), R"(data: {"type":"error","error":{"type":"overloaded_error","message":"Overloaded"}})"});
    const Reply rateLimited = failure(429, R"({"error":{"type":"rate_limit_error","message":"Slow down"}})");
    const Reply pause = answer("part ", "pause_turn");

    QTest::newRow("plain answer") << QList<Reply>{answer("Hi")} << "hv" << 1 << "Hi"
                                  << "result: Hi / end_turn";
    QTest::newRow("no token") << QList<Reply>{} << QString() << 0 << ""
                              << "error: claude 0 Sign in to use Halvora.";
    QTest::newRow("empty token") << QList<Reply>{} << "" << 0 << ""
                                 << "error: claude 0 Sign in to use Halvora.";
    QTest::newRow("201 is a failure") << QList<Reply>{failure(201, R"({"error":{"type":"odd","message":"Created?"}})")}
                                      << "hv" << 1 << ""
                                      << "error: claude 201 Created?";
    QTest::newRow("529 twice fails") << QList<Reply>{failure(529, "{}"), failure(529, "{}")} << "hv" << 2 << "" << busy;
    QTest::newRow("500 then an answer") << QList<Reply>{failure(500, "oops"), answer("Hi")} << "hv" << 2 << "Hi"
                                        << "result: Hi / end_turn";
    QTest::newRow("overloaded mid-stream is retried")
        << QList<Reply>{overloaded, answer("Hello")} << "hv" << 2 << "Hel|Hello"
        << "result: Hello / end_turn";
    QTest::newRow("429 rate limit is retried once") << QList<Reply>{rateLimited, rateLimited} << "hv" << 2 << ""
                                                    << "error: claude 429 Slow down";
    QTest::newRow("429 of another type is not retried")
        << QList<Reply>{failure(429, R"({"error":{"type":"quota_error","message":"Quota"}})"), answer("x")} << "hv" << 1
        << ""
        << "error: claude 429 Quota";
    QTest::newRow("six pauses give six requests")
        << QList<Reply>{pause, pause, pause, pause, pause, pause, answer("never")} << "hv" << 6
        << "part |part |part |part |part |part "
        << "result: part part part part part part  / pause_turn";
    QTest::newRow("failed continuation after content is not retried")
        << QList<Reply>{pause, failure(503, "{}"), answer("never")} << "hv" << 2 << "part "
        << "error: claude 503 Something went wrong (503). Try again.";
    QTest::newRow("cut-off data line") << QList<Reply>{Reply{
                                              200, {textBlock(0, "Hi") + "\n\ndata: {\"type\":\"mess"}, false}}
                                       << "hv" << 1 << "Hi"
                                       << "error: parse 0 unterminated string";
    QTest::newRow("array and number lines are skipped")
        << QList<Reply>{LoopbackServer::events({"data: [1,2]", "data: 42", textBlock(0, "ok"), stopWith("end_turn")})}
        << "hv" << 1 << "ok"
        << "result: ok / end_turn";
    QTest::newRow("CR and CRLF line ends")
        << QList<Reply>{Reply{
               200, {textBlock(0, "a").replace("\n\n", "\r\r") + "\r\n", stopWith("end_turn") + "\r"}, false}}
        << "hv" << 1 << "a"
        << "result: a / end_turn";
    QTest::newRow("refusal with explanation")
        << QList<Reply>{LoopbackServer::events(
               {textBlock(0, "No"), stopWith("refusal", R"({"explanation":"Unsafe."})")})}
        << "hv" << 1 << "No"
        << "error: claude 0 Claude declined this request. Unsafe.";
    QTest::newRow("refusal without explanation")
        << QList<Reply>{LoopbackServer::events({stopWith("refusal")})} << "hv" << 1 << ""
        << "error: claude 0 Claude declined this request.";
}

void TestClaudeClient::endsTurns()
{
    QFETCH(QList<Reply>, replies);
    QFETCH(QString, token);
    QFETCH(int, requests);
    QFETCH(QString, texts);
    QFETCH(QString, outcome);
    LoopbackServer server;
    for (const Reply& reply : replies)
        server.enqueue(reply);
    FakeClock clock;
    Turn turn;
    turn.start(ClaudeClient(server.baseUrl(), &clock), {},
               token.isNull() ? std::nullopt : std::optional<QString>(token));
    QVERIFY(turn.finish(clock));

    QString seen;
    if (const auto* result = std::get_if<TurnResult>(&*turn.outcome)) {
        seen = "result: " + ConversationHistory::text(result->content) + " / " + result->stopReason.value_or("none");
    } else {
        const TurnError& error = std::get<TurnError>(*turn.outcome);
        const QString kind = error.claudeError()                      ? "claude"
                             : error.kind() == TurnError::Kind::Parse ? "parse"
                                                                      : "other";
        const int status = error.claudeError() ? error.claudeError()->status() : 0;
        seen = QStringLiteral("error: %1 %2 %3").arg(kind).arg(status).arg(error.localizedDescription());
    }
    QCOMPARE(seen, outcome);
    QCOMPARE(turn.texts.join('|'), texts);
    QCOMPARE(server.requests().size(), requests);
}

void TestClaudeClient::continuationResendsEverything()
{
    LoopbackServer server;
    server.enqueue(answer("one ", "pause_turn"));
    server.enqueue(answer("two ", "pause_turn"));
    server.enqueue(answer("three"));
    FakeClock clock;
    Turn turn;
    turn.start(ClaudeClient(server.baseUrl(), &clock));
    QVERIFY(turn.finish(clock));
    QCOMPARE(server.requests().size(), 3);
    QCOMPARE(bodyOf(server.requests()[0])["messages"].toArray().size(), 1);
    const QJsonArray last = bodyOf(server.requests()[2])["messages"].toArray();
    QCOMPARE(last.size(), 2);
    QCOMPARE(last[1]["role"].toString(), "assistant");
    QList<QJsonObject> replayed;
    for (const QJsonValue& block : last[1]["content"].toArray())
        replayed << block.toObject();
    QCOMPARE(ConversationHistory::text(replayed), "one two ");
    const auto& result = std::get<TurnResult>(*turn.outcome);
    QCOMPARE(result.content.size(), 3);
    QCOMPARE(result.stopReason, std::optional<QString>("end_turn"));
}

void TestClaudeClient::networkFailureIsNotRetried()
{
    QUrl closed;
    {
        LoopbackServer gone;
        closed = gone.baseUrl();
    }
    FakeClock clock;
    Turn turn;
    turn.start(ClaudeClient(closed, &clock));
    QVERIFY(turn.finish(clock));
    const TurnError& error = std::get<TurnError>(*turn.outcome);
    QCOMPARE(error.kind(), TurnError::Kind::Network);
    QCOMPARE(error.networkCode(), QNetworkReply::ConnectionRefusedError);
    QCOMPARE(error.localizedDescription(), "Connection refused");
}

void TestClaudeClient::silentStreamTimesOut()
{
    LoopbackServer server;
    Reply held = LoopbackServer::events({textBlock(0, "Hi")});
    held.hang = true;
    server.enqueue(held);
    FakeClock clock;
    Turn turn;
    turn.start(ClaudeClient(server.baseUrl(), &clock));
    QTRY_COMPARE(turn.texts, QStringList{"Hi"});
    clock.advance(StreamRequest::kIdleTimeoutMs - 1);
    QTest::qWait(20);
    QVERIFY(!turn.outcome);
    clock.advance(1);
    QVERIFY(turn.outcome);
    const TurnError& error = std::get<TurnError>(*turn.outcome);
    QCOMPARE(error.networkCode(), QNetworkReply::TimeoutError);
    QVERIFY(!error.isCancellation());
    QTRY_COMPARE(server.abandonedCount(), 1);
    QCOMPARE(server.requests().size(), 1);
}

void TestClaudeClient::cancelWhileStreaming()
{
    LoopbackServer server;
    Reply held = LoopbackServer::events({textBlock(0, "Hi")});
    held.hang = true;
    server.enqueue(held);
    FakeClock clock;
    Turn turn;
    turn.start(ClaudeClient(server.baseUrl(), &clock));
    QTRY_COMPARE(turn.texts, QStringList{"Hi"});
    turn.handle.cancel();
    QTRY_COMPARE(server.abandonedCount(), 1);
    clock.advance(10000);
    QTest::qWait(50);
    QVERIFY(!turn.outcome);
    QCOMPARE(server.requests().size(), 1);
}

void TestClaudeClient::cancelDuringRetryWait()
{
    LoopbackServer server;
    server.enqueue(failure(529, "{}"));
    server.enqueue(answer("never"));
    FakeClock clock;
    Turn turn;
    turn.start(ClaudeClient(server.baseUrl(), &clock));
    QTRY_COMPARE(server.requests().size(), 1);
    QTest::qWait(50);
    turn.handle = TaskHandle();
    clock.advance(5000);
    QTest::qWait(50);
    QVERIFY(!turn.outcome);
    QCOMPARE(server.requests().size(), 1);
}

void TestClaudeClient::cancelFromAnEventHandler()
{
    LoopbackServer server;
    server.enqueue(LoopbackServer::events(
        {R"(data: {"type":"content_block_start","index":0,"content_block":{"type":"web_search_tool_result","content":[)"
         R"({"url":"https://a.example","title":"A"},{"url":"https://b.example","title":"B"}]}})",
         textBlock(1, "more")}));
    FakeClock clock;
    int events = 0;
    TaskHandle handle;
    std::optional<TurnOutcome> outcome;
    handle = ClaudeClient(server.baseUrl(), &clock)
                 .streamTurn(
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
