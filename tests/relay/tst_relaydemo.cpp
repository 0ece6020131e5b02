// The offline demo of the real relay process: deterministic rewrites that differ by style,
// Markdown answers, the web search stream, and the Messages API stand-in at v1/messages.
#include "RelayProcess.h"
#include "RelayTestHttp.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>
#include <QTest>

using namespace RelayTestHttp;

namespace {

const QString preamble = "The user selected some text in another app on their Mac and invoked you from a small popup. ";

QString rewriteSystem(const QString& instruction)
{
    return preamble + "Rewrite the selected text. " + instruction + "\nOutput only the rewritten text.";
}

// Checks the envelope every stream has: message_start first, balanced blocks, message_stop last.
void checkEnvelope(const QList<QJsonObject>& events)
{
    QVERIFY(events.size() >= 4);
    QCOMPARE(events.first().value("type").toString(), "message_start");
    QCOMPARE(events.last().value("type").toString(), "message_stop");
    QCOMPARE(events.at(events.size() - 2).value("type").toString(), "message_delta");
    int open = -1;
    int next = 0;
    for (const QJsonObject& e : events) {
        const QString type = e.value("type").toString();
        if (type == "content_block_start") {
            QCOMPARE(open, -1);
            QCOMPARE(e.value("index").toInt(), next);
            open = next++;
        } else if (type == "content_block_delta") {
            QCOMPARE(e.value("index").toInt(), open);
        } else if (type == "content_block_stop") {
            QCOMPARE(e.value("index").toInt(), open);
            open = -1;
        }
    }
    QCOMPARE(open, -1);
}

} // namespace

class TestRelayDemo : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void rewritesDifferByStyle();
    void answers_data();
    void answers();
    void webSearchStream();
    void messagesApiStandIn_data();
    void messagesApiStandIn();

private:
    std::string stream(const QString& action, const std::string& body);

    RelayProcess m_relay;
    QString m_token;
};

void TestRelayDemo::initTestCase()
{
    QVERIFY2(m_relay.startDemo(), qPrintable(m_relay.startMessage()));
    m_token = m_relay.signIn();
    QVERIFY(!m_token.isEmpty());
}

std::string TestRelayDemo::stream(const QString& action, const std::string& body)
{
    auto result = client(m_relay)->Post("/api/ai/messages", modelHeaders(m_token, action), body, "application/json");
    if (!result || result->status != 200 || result->get_header_value("Content-Type") != "text/event-stream")
        return {};
    return result->body;
}

void TestRelayDemo::rewritesDifferByStyle()
{
    const QString selection = "hello there, i think it's fine.  we can't stop now";
    const QStringList instructions = {
        "Improve clarity, flow and word choice while keeping the meaning and tone.",
        "Fix spelling, grammar and punctuation only. Change nothing else.",
        "Make it noticeably shorter while keeping every key point.",
        "Expand it with useful detail, keeping the same tone and meaning.",
        "Make the tone more professional and polished.",
        "Make the tone more casual and friendly.",
        "Rewrite it in simpler, plain language that anyone can understand.",
    };
    QSet<QString> answers;
    for (const QString& instruction : instructions) {
        const std::string body = modelBody(selection, rewriteSystem(instruction));
        const std::string first = stream("rewrite", body);
        QVERIFY(!first.empty());
        QCOMPARE(stream("rewrite", body), first); // deterministic, byte for byte
        const QList<QJsonObject> events = dataObjects(first);
        checkEnvelope(events);
        const QString text = streamedText(events);
        QVERIFY2(text.startsWith("(Offline demo, "), qPrintable(text));
        QVERIFY(text != selection);
        answers.insert(text);
    }
    QCOMPARE(answers.size(), instructions.size());
}

void TestRelayDemo::answers_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("system");
    QTest::newRow("explain") << "explain" << preamble + "Explain what the selected text means in plain language.";
    QTest::newRow("ask") << "ask" << preamble + "They have a question about the selection.";
    QTest::newRow("chat") << "ask" << "You are Halvora, chatting with the user in its Mac app.";
    QTest::newRow("no action header") << "" << "";
}

void TestRelayDemo::answers()
{
    QFETCH(QString, action);
    QFETCH(QString, system);
    const QList<QJsonObject> events = dataObjects(stream(action, modelBody("Some `text` to explain", system)));
    checkEnvelope(events);
    const QString text = streamedText(events);
    QVERIFY2(text.startsWith("## "), qPrintable(text)); // a heading
    QVERIFY(text.contains("\n- "));                      // a list
    QVERIFY(text.contains(QRegularExpression("`[^`]+`"))); // a code span
    QVERIFY(text.contains("offline demo"));
}

void TestRelayDemo::webSearchStream()
{
    const QList<QJsonObject> events = dataObjects(stream("search", modelBody("quantum dots", preamble, true)));
    checkEnvelope(events);
    QString input;
    int inputPieces = 0;
    QJsonArray results;
    QStringList citedUrls;
    for (const QJsonObject& e : events) {
        const QJsonObject block = e.value("content_block").toObject();
        const QJsonObject delta = e.value("delta").toObject();
        if (block.value("type").toString() == "server_tool_use")
            QCOMPARE(block.value("name").toString(), "web_search");
        if (block.value("type").toString() == "web_search_tool_result")
            results = block.value("content").toArray();
        if (delta.value("type").toString() == "input_json_delta") {
            input += delta.value("partial_json").toString();
            ++inputPieces;
        }
        if (delta.value("type").toString() == "citations_delta")
            citedUrls << delta.value("citation").toObject().value("url").toString();
    }
    QVERIFY(inputPieces >= 3);
    QCOMPARE(QJsonDocument::fromJson(input.toUtf8()).object().value("query").toString(), "quantum dots");
    QCOMPARE(results.size(), 3);
    QStringList resultUrls;
    for (const QJsonValue& r : results) {
        QVERIFY(!r.toObject().value("title").toString().isEmpty());
        resultUrls << r.toObject().value("url").toString();
    }
    QVERIFY(!citedUrls.isEmpty());
    for (const QString& url : citedUrls)
        QVERIFY2(resultUrls.contains(url), qPrintable(url));
    QVERIFY(streamedText(events).contains("offline demo"));
}

void TestRelayDemo::messagesApiStandIn_data()
{
    QTest::addColumn<QString>("apiKey");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("status");
    const QByteArray good = R"({"model":"m","messages":[{"role":"user","content":"hi"}]})";
    QTest::newRow("key and model") << "k" << good << 200;
    QTest::newRow("no key") << "" << good << 401;
    QTest::newRow("no model") << "k" << QByteArray(R"({"messages":[]})") << 400;
    QTest::newRow("bad body") << "k" << QByteArray("[") << 400;
}

void TestRelayDemo::messagesApiStandIn()
{
    QFETCH(QString, apiKey);
    QFETCH(QByteArray, body);
    QFETCH(int, status);
    httplib::Headers headers{{"anthropic-version", "2023-06-01"}};
    if (!apiKey.isEmpty())
        headers.emplace("x-api-key", apiKey.toStdString());
    auto result = client(m_relay)->Post("/v1/messages", headers, body.toStdString(), "application/json");
    QCOMPARE(result->status, status);
    if (status == 200)
        checkEnvelope(dataObjects(result->body));
    else
        QCOMPARE(json(result->body).value("type").toString(), "error");
}

QTEST_GUILESS_MAIN(TestRelayDemo)
#include "tst_relaydemo.moc"
