// The offline demo of the real relay process: deterministic rewrites that differ by style,
// Markdown answers, the web search stream, and the Messages API stand-in at v1/messages.
#include "RelayProcess.h"
#include "RelayTestHttp.h"
#include "actions/AIAction.h"
#include "support/TestRows.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>
#include <QTest>

using namespace RelayTestHttp;

namespace {

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

private:
    RelayProcess m_relay;
    QString m_token;

    std::string stream(const QString& action, const std::string& body)
    {
        auto result =
            client(m_relay)->Post("/api/ai/messages", modelHeaders(m_token, action), body, "application/json");
        if (!result || result->status != 200 || result->get_header_value("Content-Type") != "text/event-stream")
            return {};
        return result->body;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(m_relay.startDemo(), qPrintable(m_relay.startMessage()));
        m_token = m_relay.signIn();
        QVERIFY(!m_token.isEmpty());
    }

    void rewritesDifferByStyle()
    {
        const QString selection = "hello there, i think it's fine.  we can't stop now";
        QSet<QString> answers;
        int styles = 0;
        // The program's own prompts; translation is left out, as its prompt follows the desktop's languages.
        for (const RewriteStyle style : RewriteStyle::all()) {
            if (style == RewriteStyle::Translate)
                continue;
            ++styles;
            const std::string body = modelBody(selection, AIAction::rewrite(style).systemPrompt());
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
        QCOMPARE(answers.size(), styles);
    }

    void answers_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("system");
        addRow("explain", "explain", AIAction::explain().systemPrompt());
        addRow("ask", "ask", AIAction::ask().systemPrompt());
        addRow("chat", "ask", AIAction::chat(false).systemPrompt());
        addRow("no action header", "", "");
    }

    void answers()
    {
        QFETCH(QString, action);
        QFETCH(QString, system);
        const QList<QJsonObject> events = dataObjects(stream(action, modelBody("Some `text` to explain", system)));
        checkEnvelope(events);
        const QString text = streamedText(events);
        QVERIFY2(text.startsWith("## "), qPrintable(text));    // a heading
        QVERIFY(text.contains("\n- "));                        // a list
        QVERIFY(text.contains(QRegularExpression("`[^`]+`"))); // a code span
        QVERIFY(text.contains("offline demo"));
    }

    void webSearchStream_data()
    {
        QTest::addColumn<bool>("fetch");
        addRow("web search", false);
        addRow("research: search and fetch", true);
    }

    void webSearchStream()
    {
        QFETCH(bool, fetch);
        QJsonObject body = json(modelBody("quantum dots", AIAction::webSearch().systemPrompt(), true));
        QJsonArray tools = body.value("tools").toArray();
        if (fetch)
            tools.append(QJsonObject{{"type", "web_fetch_20260209"}, {"name", "web_fetch"}, {"max_uses", 5}});
        body.insert("tools", tools);
        const QList<QJsonObject> events =
            dataObjects(stream("research", QJsonDocument(body).toJson(QJsonDocument::Compact).toStdString()));
        checkEnvelope(events);
        QMap<QString, QString> inputs; // tool name -> its input, joined from the pieces
        QMap<QString, int> inputPieces;
        QString tool;
        QJsonArray results;
        QJsonObject fetched;
        QStringList citedUrls;
        for (const QJsonObject& e : events) {
            const QJsonObject block = e.value("content_block").toObject();
            const QJsonObject delta = e.value("delta").toObject();
            if (block.value("type").toString() == "server_tool_use")
                tool = block.value("name").toString();
            if (block.value("type").toString() == "web_search_tool_result")
                results = block.value("content").toArray();
            if (block.value("type").toString() == "web_fetch_tool_result")
                fetched = block.value("content").toObject();
            if (delta.value("type").toString() == "input_json_delta") {
                inputs[tool] += delta.value("partial_json").toString();
                ++inputPieces[tool];
            }
            if (delta.value("type").toString() == "citations_delta")
                citedUrls << delta.value("citation").toObject().value("url").toString();
        }
        QCOMPARE(inputPieces.value("web_search"), 3);
        QCOMPARE(QJsonDocument::fromJson(inputs.value("web_search").toUtf8()).object().value("query").toString(),
                 "quantum dots");
        QCOMPARE(inputs.contains("web_fetch"), fetch);
        if (fetch) {
            const QString url =
                QJsonDocument::fromJson(inputs.value("web_fetch").toUtf8()).object().value("url").toString();
            QCOMPARE(url, results.at(0).toObject().value("url").toString());
            QCOMPARE(fetched.value("url").toString(), url);
            QVERIFY(!fetched.value("content").toObject().value("title").toString().isEmpty());
        }
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

    void messagesApiStandIn_data()
    {
        QTest::addColumn<QString>("apiKey");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("status");
        const QByteArray good = R"({"model":"m","messages":[{"role":"user","content":"hi"}]})";
        addRow("key and model", "k", good, 200);
        addRow("no key", "", good, 401);
        addRow("no model", "k", QByteArray(R"({"messages":[]})"), 400);
        addRow("bad body", "k", QByteArray("["), 400);
    }

    void messagesApiStandIn()
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
};

QTEST_GUILESS_MAIN(TestRelayDemo)
#include "tst_relaydemo.moc"
