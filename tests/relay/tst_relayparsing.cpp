// The relay's parsing of untrusted input: bearer headers, exchange bodies, model request
// bodies, scenario step files, event-stream splitting and the command line.
#include "AuthParsing.h"
#include "DemoStream.h"
#include "MessagesRequest.h"
#include "RelayOptions.h"
#include "ScenarioStep.h"
#include "SseEvents.h"
#include "support/TestRows.h"

#include <QTest>

class TestRelayParsing : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void bearerToken_data()
    {
        QTest::addColumn<QString>("header");
        QTest::addColumn<QString>("token"); // empty: rejected
        addRow("plain", "Bearer abc", "abc");
        addRow("lower-case scheme", "bearer abc", "abc");
        addRow("trailing space", "Bearer abc  ", "abc");
        addRow("no token", "Bearer ", "");
        addRow("other scheme", "Basic abc", "");
        addRow("space inside", "Bearer a b", "");
        addRow("control character",
               "Bearer a\x01"
               "b",
               "");
        addRow("empty", "", "");
        addRow("too long", "Bearer " + QString(513, 'x'), "");
    }

    void bearerToken()
    {
        QFETCH(QString, header);
        auto parsed = AuthParsing::bearerToken(header.toStdString());
        QTEST(QString::fromStdString(parsed.value_or("")), "token");
    }

    void emailCheck_data()
    {
        QTest::addColumn<QString>("email");
        QTest::addColumn<bool>("valid");
        addRow("simple", "a@b.example", true);
        addRow("no at", "ab.example", false);
        addRow("two ats", "a@b@c", false);
        addRow("nothing before at", "@b.example", false);
        addRow("nothing after at", "a@", false);
        addRow("space", "a b@c.example", false);
        addRow("markup", "<a>@b", true); // escaped on every page
        addRow("too long", QString(250, 'a') + "@b.example", false);
    }

    void emailCheck()
    {
        QFETCH(QString, email);
        QTEST(AuthParsing::isValidEmail(email.toStdString()), "valid");
    }

    void loopbackHost_data()
    {
        QTest::addColumn<QString>("host");
        QTest::addColumn<bool>("local");
        addRow("address and port", "127.0.0.1:8787", true);
        addRow("localhost", "localhost", true);
        addRow("upper case, trailing dot", "LOCALHOST.:80", true);
        addRow("IPv6 with port", "[::1]:8787", true);
        addRow("rebound name", "evil.example:8787", false);
        addRow("name ending in localhost", "evil.localhost.example", false);
        addRow("bad port", "127.0.0.1:80x", false);
        addRow("unclosed bracket", "[::1", false);
        addRow("empty", "", false);
    }

    void loopbackHost()
    {
        QFETCH(QString, host);
        QTEST(AuthParsing::isLoopbackHost(host.toStdString()), "local");
    }

    void messagesRequest_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("problem"); // empty: accepted
        addRow("minimal", QByteArray(R"({"messages":[]})"), "");
        addRow("blocks", QByteArray(R"({"messages":[{"role":"user","content":[{"type":"text","text":"x"}]}]})"), "");
        addRow("malformed", QByteArray(R"({"messages":[)"), "The request body is not valid JSON.");
        addRow("empty", QByteArray(), "The request body is not valid JSON.");
        addRow("array", QByteArray("[]"), "The request body must be a JSON object.");
        addRow("no messages", QByteArray("{}"), "The request needs a \"messages\" list.");
        addRow("messages object", QByteArray(R"({"messages":{}})"), "The request needs a \"messages\" list.");
        addRow("message number", QByteArray(R"({"messages":[1]})"), "messages[0] must be an object.");
        addRow("role missing", QByteArray(R"({"messages":[{"content":"x"}]})"), "messages[0].role must be a string.");
        addRow("content number", QByteArray(R"({"messages":[{"role":"user","content":3}]})"),
               "messages[0].content must be a string or a list of content blocks.");
        addRow("system number", QByteArray(R"({"messages":[],"system":1})"),
               "\"system\" must be a string or a list of content blocks.");
        addRow("tools object", QByteArray(R"({"messages":[],"tools":{}})"), "\"tools\" must be a list.");
    }

    void messagesRequest()
    {
        QFETCH(QByteArray, body);
        QFETCH(QString, problem);
        std::string error;
        auto request = MessagesRequest::parse(body.toStdString(), &error);
        QCOMPARE(request.has_value(), problem.isEmpty());
        QCOMPARE(QString::fromStdString(error), problem);
    }

    void selectionExtraction_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("selection");
        addRow(
            "wrapped",
            QByteArray(
                R"({"messages":[{"role":"user","content":"<selected_text>\nA b\n</selected_text>\n\nExplain this."}]})"),
            "A b");
        addRow("wrapped empty",
               QByteArray(R"({"messages":[{"role":"user","content":"<selected_text>\n\n</selected_text>"}]})"), "");
        addRow(
            "closing tag inside selection",
            QByteArray(
                R"({"messages":[{"role":"user","content":"<selected_text>\na\n</selected_text>b\n</selected_text>"}]})"),
            "a\n</selected_text>b");
        addRow(
            "chat question, last user message",
            QByteArray(
                R"({"messages":[{"role":"user","content":"first"},{"role":"assistant","content":"x"},{"role":"user","content":"second"}]})"),
            "second");
    }

    void selectionExtraction()
    {
        QFETCH(QByteArray, body);
        std::string error;
        auto request = MessagesRequest::parse(body.toStdString(), &error);
        QVERIFY(request);
        QTEST(request->selection(), "selection");
    }

    void sseSplit_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QList<QByteArray>>("events");
        addRow("two events", QByteArray("event: a\ndata: {}\n\ndata: 2\n\n"),
               QList<QByteArray>{"event: a\ndata: {}\n\n", "data: 2\n\n"});
        addRow("crlf", QByteArray("data: 1\r\n\r\ndata: 2\r\n\r\n"),
               QList<QByteArray>{"data: 1\r\n\r\n", "data: 2\r\n\r\n"});
        addRow("unterminated tail", QByteArray("data: 1\n\ndata: {\"cut"),
               QList<QByteArray>{"data: 1\n\n", "data: {\"cut"});
        addRow("empty", QByteArray(), QList<QByteArray>{});
    }

    void sseSplit()
    {
        QFETCH(QByteArray, text);
        QList<QByteArray> split;
        for (const std::string& e : SseEvents::split(text.toStdString()))
            split << QByteArray::fromStdString(e);
        QTEST(split, "events");
        QCOMPARE(split.join(), text); // nothing lost, nothing added
    }

    void scenarioStep_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("contentType");
        addRow("defaults", QByteArray("{}"), true, 200, "api/ai/messages", QByteArray(), "application/json");
        addRow("json body", QByteArray(R"({"status":429,"body":{"type":"error"}})"), true, 429, "api/ai/messages",
               QByteArray(R"({"type":"error"})"), "application/json");
        addRow("string body, own type", QByteArray(R"({"body":"x","headers":{"Content-Type":"text/plain"}})"), true,
               200, "api/ai/messages", QByteArray("x"), "text/plain");
        addRow("path with slash", QByteArray(R"({"path":"/api/me","status":500})"), true, 500, "api/me", QByteArray(),
               "application/json");
        addRow("inline sse", QByteArray(R"({"sse":"data: 1\n\n"})"), true, 200, "api/ai/messages", QByteArray(),
               "text/event-stream");
        addRow("status too big", QByteArray(R"({"status":600})"), false, 0, "", QByteArray(), "");
        addRow("status beyond int", QByteArray(R"({"status":4e29})"), false, 0, "", QByteArray(), "");
        addRow("status text", QByteArray(R"({"status":"200"})"), false, 0, "", QByteArray(), "");
        addRow("fractional delay", QByteArray(R"({"delay_ms":1.5})"), false, 0, "", QByteArray(), "");
        addRow("negative cut", QByteArray(R"({"cut_after":-1})"), false, 0, "", QByteArray(), "");
        addRow("header injection", QByteArray(R"({"headers":{"X-A":"1\r\nX-B: 2"}})"), false, 0, "", QByteArray(), "");
        addRow("body and sse", QByteArray(R"({"body":"x","sse":"data: 1\n\n"})"), false, 0, "", QByteArray(), "");
        addRow("escaping file", QByteArray(R"({"sse_file":"../secret"})"), false, 0, "", QByteArray(), "");
        addRow("not an object", QByteArray("[]"), false, 0, "", QByteArray(), "");
    }

    void scenarioStep()
    {
        QFETCH(QByteArray, json);
        QFETCH(bool, valid);
        std::string error;
        auto step = ScenarioStep::fromJson(json.toStdString(), &error);
        QCOMPARE(step.has_value(), valid);
        QCOMPARE(error.empty(), valid);
        if (!step)
            return;
        QTEST(step->status, "status");
        QTEST(QString::fromStdString(step->path), "path");
        QTEST(QByteArray::fromStdString(step->body), "body");
        QTEST(QString::fromStdString(step->contentType), "contentType");
    }

    void relativePaths_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("safe");
        addRow("file", "a.events", true);
        addRow("subfolder", "sub/a.events", true);
        addRow("absolute", "/etc/passwd", false);
        addRow("parent", "../a", false);
        addRow("parent inside", "sub/../../a", false);
        addRow("empty part", "sub//a", false);
        addRow("empty", "", false);
    }

    void relativePaths()
    {
        QFETCH(QString, name);
        QTEST(ScenarioStep::isSafeRelativePath(name.toStdString()), "safe");
    }

    // Refusals the relay itself gives at its command line are proven on the running program.
    void options_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("error"); // prefix; empty: accepted
        QTest::addColumn<int>("port");
        addRow("defaults", QStringList{}, "", 8787);
        addRow("port 0", QStringList{"--port", "0"}, "", 0);
        addRow("port with =", QStringList{"--port=9000"}, "", 9000);
        addRow("port too big", QStringList{"--port", "70000"}, "--port needs", 8787);
        addRow("port not a number", QStringList{"--port", "80x"}, "--port needs", 8787);
        addRow("missing value", QStringList{"--db"}, "--db needs a value", 8787);
        addRow("upstream without model", QStringList{"--upstream", "https://x"}, "--upstream needs --model", 8787);
        addRow("upstream not http", QStringList{"--upstream", "ftp://x", "--model", "m"}, "--upstream needs an http",
               8787);
    }

    void options()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, error);
        std::vector<std::string> list;
        for (const QString& a : args)
            list.push_back(a.toStdString());
        RelayOptions o = RelayOptions::parse(list);
        QVERIFY2(QString::fromStdString(o.error).startsWith(error), o.error.c_str());
        QCOMPARE(o.error.empty(), error.isEmpty());
        QTEST(o.port, "port");
    }

    void demoPiecesKeepText()
    {
        const QString text = QStringLiteral("Short words and averyveryverylongwordwithoutspaces\u00e9 \U0001F600 end");
        QString joined;
        for (const QString& piece : DemoStream::pieces(text)) {
            QVERIFY(!piece.isEmpty());
            QVERIFY2(!piece.back().isHighSurrogate(), "a piece must not split a surrogate pair");
            joined += piece;
        }
        QCOMPARE(joined, text);
    }
};

QTEST_GUILESS_MAIN(TestRelayParsing)
#include "tst_relayparsing.moc"
