// The relay's parsing of untrusted input: bearer headers, exchange bodies, model request
// bodies, scenario step files, event-stream splitting and the command line.
#include "AuthParsing.h"
#include "DemoAnswer.h"
#include "MessagesRequest.h"
#include "RelayOptions.h"
#include "ScenarioStep.h"
#include "SseEvents.h"

#include <QTest>

class TestRelayParsing : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void bearerToken_data();
    void bearerToken();
    void exchangeFields_data();
    void exchangeFields();
    void emailCheck_data();
    void emailCheck();
    void messagesRequest_data();
    void messagesRequest();
    void selectionExtraction_data();
    void selectionExtraction();
    void sseSplit_data();
    void sseSplit();
    void scenarioStep_data();
    void scenarioStep();
    void relativePaths_data();
    void relativePaths();
    void options_data();
    void options();
    void demoPiecesKeepText();
};

void TestRelayParsing::bearerToken_data()
{
    QTest::addColumn<QString>("header");
    QTest::addColumn<QString>("token"); // empty: rejected
    QTest::newRow("plain") << "Bearer abc" << "abc";
    QTest::newRow("lower-case scheme") << "bearer abc" << "abc";
    QTest::newRow("trailing space") << "Bearer abc  " << "abc";
    QTest::newRow("no token") << "Bearer " << "";
    QTest::newRow("other scheme") << "Basic abc" << "";
    QTest::newRow("space inside") << "Bearer a b" << "";
    QTest::newRow("control character") << "Bearer a\x01" "b" << "";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("too long") << "Bearer " + QString(513, 'x') << "";
}

void TestRelayParsing::bearerToken()
{
    QFETCH(QString, header);
    QFETCH(QString, token);
    auto parsed = AuthParsing::bearerToken(header.toStdString());
    QCOMPARE(QString::fromStdString(parsed.value_or("")), token);
}

void TestRelayParsing::exchangeFields_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("both strings") << QByteArray(R"({"code":"c","state":"s"})") << true;
    QTest::newRow("code a number") << QByteArray(R"({"code":1,"state":"s"})") << false;
    QTest::newRow("state missing") << QByteArray(R"({"code":"c"})") << false;
    QTest::newRow("empty code") << QByteArray(R"({"code":"","state":"s"})") << false;
    QTest::newRow("array") << QByteArray(R"(["c","s"])") << false;
    QTest::newRow("cut off") << QByteArray(R"({"code":"c","sta)") << false;
    QTest::newRow("not json") << QByteArray("code=c&state=s") << false;
}

void TestRelayParsing::exchangeFields()
{
    QFETCH(QByteArray, body);
    QFETCH(bool, accepted);
    QCOMPARE(AuthParsing::exchangeFields(body.toStdString()).has_value(), accepted);
}

void TestRelayParsing::emailCheck_data()
{
    QTest::addColumn<QString>("email");
    QTest::addColumn<bool>("valid");
    QTest::newRow("simple") << "a@b.example" << true;
    QTest::newRow("no at") << "ab.example" << false;
    QTest::newRow("two ats") << "a@b@c" << false;
    QTest::newRow("nothing before at") << "@b.example" << false;
    QTest::newRow("nothing after at") << "a@" << false;
    QTest::newRow("space") << "a b@c.example" << false;
    QTest::newRow("markup") << "<a>@b" << true; // escaped on every page
    QTest::newRow("too long") << QString(250, 'a') + "@b.example" << false;
}

void TestRelayParsing::emailCheck()
{
    QFETCH(QString, email);
    QFETCH(bool, valid);
    QCOMPARE(AuthParsing::isValidEmail(email.toStdString()), valid);
}

void TestRelayParsing::messagesRequest_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("problem"); // empty: accepted
    QTest::newRow("minimal") << QByteArray(R"({"messages":[]})") << "";
    QTest::newRow("blocks") << QByteArray(R"({"messages":[{"role":"user","content":[{"type":"text","text":"x"}]}]})")
                            << "";
    QTest::newRow("malformed") << QByteArray(R"({"messages":[)") << "The request body is not valid JSON.";
    QTest::newRow("empty") << QByteArray() << "The request body is not valid JSON.";
    QTest::newRow("array") << QByteArray("[]") << "The request body must be a JSON object.";
    QTest::newRow("no messages") << QByteArray("{}") << "The request needs a \"messages\" list.";
    QTest::newRow("messages object") << QByteArray(R"({"messages":{}})") << "The request needs a \"messages\" list.";
    QTest::newRow("message number") << QByteArray(R"({"messages":[1]})") << "messages[0] must be an object.";
    QTest::newRow("role missing") << QByteArray(R"({"messages":[{"content":"x"}]})")
                                  << "messages[0].role must be a string.";
    QTest::newRow("content number") << QByteArray(R"({"messages":[{"role":"user","content":3}]})")
                                    << "messages[0].content must be a string or a list of content blocks.";
    QTest::newRow("system number") << QByteArray(R"({"messages":[],"system":1})")
                                   << "\"system\" must be a string or a list of content blocks.";
    QTest::newRow("tools object") << QByteArray(R"({"messages":[],"tools":{}})") << "\"tools\" must be a list.";
}

void TestRelayParsing::messagesRequest()
{
    QFETCH(QByteArray, body);
    QFETCH(QString, problem);
    std::string error;
    auto request = MessagesRequest::parse(body.toStdString(), &error);
    QCOMPARE(request.has_value(), problem.isEmpty());
    QCOMPARE(QString::fromStdString(error), problem);
}

void TestRelayParsing::selectionExtraction_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("selection");
    QTest::newRow("wrapped") << QByteArray(R"({"messages":[{"role":"user","content":"<selected_text>\nA b\n</selected_text>\n\nExplain this."}]})")
                             << "A b";
    QTest::newRow("wrapped empty") << QByteArray(R"({"messages":[{"role":"user","content":"<selected_text>\n\n</selected_text>"}]})")
                                   << "";
    QTest::newRow("closing tag inside selection")
        << QByteArray(R"({"messages":[{"role":"user","content":"<selected_text>\na\n</selected_text>b\n</selected_text>"}]})")
        << "a\n</selected_text>b";
    QTest::newRow("chat question, last user message")
        << QByteArray(R"({"messages":[{"role":"user","content":"first"},{"role":"assistant","content":"x"},{"role":"user","content":"second"}]})")
        << "second";
}

void TestRelayParsing::selectionExtraction()
{
    QFETCH(QByteArray, body);
    QFETCH(QString, selection);
    std::string error;
    auto request = MessagesRequest::parse(body.toStdString(), &error);
    QVERIFY(request);
    QCOMPARE(request->selection(), selection);
}

void TestRelayParsing::sseSplit_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QList<QByteArray>>("events");
    QTest::newRow("two events") << QByteArray("event: a\ndata: {}\n\ndata: 2\n\n")
                                << QList<QByteArray>{"event: a\ndata: {}\n\n", "data: 2\n\n"};
    QTest::newRow("crlf") << QByteArray("data: 1\r\n\r\ndata: 2\r\n\r\n")
                          << QList<QByteArray>{"data: 1\r\n\r\n", "data: 2\r\n\r\n"};
    QTest::newRow("unterminated tail") << QByteArray("data: 1\n\ndata: {\"cut")
                                       << QList<QByteArray>{"data: 1\n\n", "data: {\"cut"};
    QTest::newRow("empty") << QByteArray() << QList<QByteArray>{};
}

void TestRelayParsing::sseSplit()
{
    QFETCH(QByteArray, text);
    QFETCH(QList<QByteArray>, events);
    QList<QByteArray> split;
    for (const std::string& e : SseEvents::split(text.toStdString()))
        split << QByteArray::fromStdString(e);
    QCOMPARE(split, events);
    QCOMPARE(split.join(), text); // nothing lost, nothing added
}

void TestRelayParsing::scenarioStep_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("contentType");
    QTest::newRow("defaults") << QByteArray("{}") << true << 200 << "api/ai/messages" << QByteArray() << "application/json";
    QTest::newRow("json body") << QByteArray(R"({"status":429,"body":{"type":"error"}})") << true << 429
                               << "api/ai/messages" << QByteArray(R"({"type":"error"})") << "application/json";
    QTest::newRow("string body, own type") << QByteArray(R"({"body":"x","headers":{"Content-Type":"text/plain"}})")
                                           << true << 200 << "api/ai/messages" << QByteArray("x") << "text/plain";
    QTest::newRow("path with slash") << QByteArray(R"({"path":"/api/me","status":500})") << true << 500 << "api/me"
                                     << QByteArray() << "application/json";
    QTest::newRow("inline sse") << QByteArray(R"({"sse":"data: 1\n\n"})") << true << 200 << "api/ai/messages"
                                << QByteArray() << "text/event-stream";
    QTest::newRow("status too big") << QByteArray(R"({"status":600})") << false << 0 << "" << QByteArray() << "";
    QTest::newRow("status text") << QByteArray(R"({"status":"200"})") << false << 0 << "" << QByteArray() << "";
    QTest::newRow("fractional delay") << QByteArray(R"({"delay_ms":1.5})") << false << 0 << "" << QByteArray() << "";
    QTest::newRow("negative cut") << QByteArray(R"({"cut_after":-1})") << false << 0 << "" << QByteArray() << "";
    QTest::newRow("header injection") << QByteArray(R"({"headers":{"X-A":"1\r\nX-B: 2"}})") << false << 0 << ""
                                      << QByteArray() << "";
    QTest::newRow("body and sse") << QByteArray(R"({"body":"x","sse":"data: 1\n\n"})") << false << 0 << ""
                                  << QByteArray() << "";
    QTest::newRow("escaping file") << QByteArray(R"({"sse_file":"../secret"})") << false << 0 << "" << QByteArray()
                                   << "";
    QTest::newRow("not an object") << QByteArray("[]") << false << 0 << "" << QByteArray() << "";
}

void TestRelayParsing::scenarioStep()
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

void TestRelayParsing::relativePaths_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("safe");
    QTest::newRow("file") << "a.events" << true;
    QTest::newRow("subfolder") << "sub/a.events" << true;
    QTest::newRow("absolute") << "/etc/passwd" << false;
    QTest::newRow("parent") << "../a" << false;
    QTest::newRow("parent inside") << "sub/../../a" << false;
    QTest::newRow("empty part") << "sub//a" << false;
    QTest::newRow("empty") << "" << false;
}

void TestRelayParsing::relativePaths()
{
    QFETCH(QString, name);
    QTEST(ScenarioStep::isSafeRelativePath(name.toStdString()), "safe");
}

void TestRelayParsing::options_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("error"); // prefix; empty: accepted
    QTest::addColumn<int>("port");
    QTest::newRow("defaults") << QStringList{} << "" << 8787;
    QTest::newRow("port 0") << QStringList{"--port", "0"} << "" << 0;
    QTest::newRow("port with =") << QStringList{"--port=9000"} << "" << 9000;
    QTest::newRow("port too big") << QStringList{"--port", "70000"} << "--port needs" << 8787;
    QTest::newRow("port not a number") << QStringList{"--port", "80x"} << "--port needs" << 8787;
    QTest::newRow("missing value") << QStringList{"--db"} << "--db needs a value" << 8787;
    QTest::newRow("unknown") << QStringList{"--fast", "1"} << "unknown option --fast" << 8787;
    QTest::newRow("upstream without model") << QStringList{"--upstream", "https://x"} << "--upstream needs --model"
                                            << 8787;
    QTest::newRow("upstream not http") << QStringList{"--upstream", "ftp://x", "--model", "m"}
                                       << "--upstream needs an http" << 8787;
    QTest::newRow("record without scenario") << QStringList{"--record", "/tmp/x"} << "--record is only" << 8787;
}

void TestRelayParsing::options()
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

void TestRelayParsing::demoPiecesKeepText()
{
    const QString text = QStringLiteral("Short words and averyveryverylongwordwithoutspaces\u00e9 \U0001F600 end");
    QString joined;
    for (const QString& piece : DemoAnswer::pieces(text)) {
        QVERIFY(!piece.isEmpty());
        QVERIFY2(!piece.back().isHighSurrogate(), "a piece must not split a surrogate pair");
        joined += piece;
    }
    QCOMPARE(joined, text);
}

QTEST_GUILESS_MAIN(TestRelayParsing)
#include "tst_relayparsing.moc"
