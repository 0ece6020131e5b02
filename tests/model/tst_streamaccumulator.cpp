#include "model/StreamAccumulator.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

// Feeds event objects straight into the accumulator and checks the events it sends, the
// blocks it keeps and how it ends.
class TestStreamAccumulator : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void decodesEvents_data();
    void decodesEvents();
    void stopReasonAndRefusal_data();
    void stopReasonAndRefusal();
    void errorEventFails_data();
    void errorEventFails();
    void longAnswerIsKeptWhole();
};

namespace {

QJsonObject object(const QString& json)
{
    return QJsonDocument::fromJson(json.toUtf8()).object();
}
QString compact(const QJsonObject& object)
{
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}
QString start(int index, const QString& block)
{
    return QStringLiteral(R"({"type":"content_block_start","index":%1,"content_block":%2})").arg(index).arg(block);
}
QString delta(int index, const QString& delta)
{
    return QStringLiteral(R"({"type":"content_block_delta","index":%1,"delta":%2})").arg(index).arg(delta);
}
QString stop(int index)
{
    return QStringLiteral(R"({"type":"content_block_stop","index":%1})").arg(index);
}
QString text(const QString& piece)
{
    return compact({{QStringLiteral("type"), QStringLiteral("textDelta")}, {QStringLiteral("text"), piece}});
}
QString status(const QString& line)
{
    return compact({{QStringLiteral("type"), QStringLiteral("status")},
                    {QStringLiteral("status"), line.isNull() ? QJsonValue() : QJsonValue(line)}});
}
QString source(const QString& title, const QString& url, bool cited)
{
    return compact(ClaudeEvent::foundSource({title, QUrl(url)}, cited).toJson());
}

} // namespace

void TestStreamAccumulator::decodesEvents_data()
{
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<QStringList>("expectedEvents");
    QTest::addColumn<QString>("expectedContent");

    const QString textBlock = QStringLiteral(R"({"type":"text","text":""})");
    QTest::newRow("delta before its start is ignored")
        << QStringList{delta(0, R"({"type":"text_delta","text":"lost"})"), start(0, textBlock),
                       delta(0, R"({"type":"text_delta","text":"ab"})")}
        << QStringList{status({}), text("ab")} << R"([{"text":"ab","type":"text"}])";
    QTest::newRow("text block with initial text and an empty delta")
        << QStringList{start(0, R"({"type":"text","text":"Hi","id":"t1"})"),
                       delta(0, R"({"type":"text_delta","text":" there"})"), delta(0, R"({"type":"text_delta"})")}
        << QStringList{status({}), text("Hi"), text(" there"), text("")}
        << R"([{"id":"t1","text":"Hi there","type":"text"}])";
    QTest::newRow("search results: one without url, one without title")
        << QStringList{start(1, R"({"type":"web_search_tool_result","tool_use_id":"s1","content":[)"
                                R"({"type":"web_search_result","url":"https://a.example/p","title":"A"},)"
                                R"({"type":"web_search_result","title":"No address"},)"
                                R"({"type":"web_search_result","url":"https://b.example/x/y?q=1","title":""}]})")}
        << QStringList{source("A", "https://a.example/p", false),
                       source("b.example", "https://b.example/x/y?q=1", false),
                       status(QStringLiteral("Reading results…"))}
        << R"([{"content":[{"title":"A","type":"web_search_result","url":"https://a.example/p"},)"
           R"({"title":"No address","type":"web_search_result"},)"
           R"({"title":"","type":"web_search_result","url":"https://b.example/x/y?q=1"}],)"
           R"("tool_use_id":"s1","type":"web_search_tool_result"}])";
    QTest::newRow("search error still reports reading")
        << QStringList{start(0,
                             R"({"type":"web_search_tool_result","content":{"type":"web_search_tool_result_error"}})")}
        << QStringList{status(QStringLiteral("Reading results…"))}
        << R"([{"content":{"type":"web_search_tool_result_error"},"type":"web_search_tool_result"}])";
    QTest::newRow("fetch result: document title, even empty, else host")
        << QStringList{start(
                           0,
                           R"({"type":"web_fetch_tool_result","content":{"url":"https://c.example/doc","content":{"title":""}}})"),
                       start(1, R"({"type":"web_fetch_tool_result","content":{"url":"https://d.example/doc"}})")}
        << QStringList{source("", "https://c.example/doc", false), status(QStringLiteral("Reading results…")),
                       source("d.example", "https://d.example/doc", false), status(QStringLiteral("Reading results…"))}
        << R"([{"content":{"content":{"title":""},"url":"https://c.example/doc"},"type":"web_fetch_tool_result"},)"
           R"({"content":{"url":"https://d.example/doc"},"type":"web_fetch_tool_result"}])";
    QTest::newRow("search input in three pieces")
        << QStringList{start(0, R"({"type":"server_tool_use","id":"s1","name":"web_search","input":{}})"),
                       delta(0, R"({"type":"input_json_delta","partial_json":"{\"qu"})"),
                       delta(0, R"({"type":"input_json_delta","partial_json":"ery\": \"qt "})"),
                       delta(0, R"({"type":"input_json_delta","partial_json":"6\"}"})"), stop(0)}
        << QStringList{status(QStringLiteral("Searching the web…")), status(QStringLiteral("Searching: qt 6"))}
        << R"([{"id":"s1","input":{"query":"qt 6"},"name":"web_search","type":"server_tool_use"}])";
    QTest::newRow("fetch input with url")
        << QStringList{start(0, R"({"type":"server_tool_use","name":"web_fetch","input":{}})"),
                       delta(0, R"({"type":"input_json_delta","partial_json":"{\"url\":\"https://e.example\"}"})"),
                       stop(0)}
        << QStringList{status(QStringLiteral("Reading a page…")), status(QStringLiteral("Reading: https://e.example"))}
        << R"([{"input":{"url":"https://e.example"},"name":"web_fetch","type":"server_tool_use"}])";
    QTest::newRow("unparsable tool input keeps the initial input")
        << QStringList{start(0, R"({"type":"server_tool_use","input":{"x":1}})"),
                       delta(0, R"({"type":"input_json_delta","partial_json":"{\"query\":"})"), stop(0)}
        << QStringList{status(QStringLiteral("Searching the web…"))}
        << R"([{"input":{"x":1},"type":"server_tool_use"}])";
    QTest::newRow("a repeated citation is sent and kept twice")
        << QStringList{start(0, R"({"type":"text","text":"","citations":"bogus"})"),
                       delta(0, R"({"type":"citations_delta","citation":{"url":"https://f.example/a","title":"F"}})"),
                       delta(0, R"({"type":"citations_delta","citation":{"url":"https://f.example/a","title":"F"}})"),
                       delta(0, R"({"type":"citations_delta","citation":"not an object"})")}
        << QStringList{status({}), source("F", "https://f.example/a", true), source("F", "https://f.example/a", true)}
        << R"([{"citations":[{"title":"F","url":"https://f.example/a"},{"title":"F","url":"https://f.example/a"}],)"
           R"("text":"","type":"text"}])";
    QTest::newRow("thinking and signature")
        << QStringList{start(0, R"({"type":"thinking","thinking":"a"})"),
                       delta(0, R"({"type":"thinking_delta","thinking":"b"})"),
                       delta(0, R"({"type":"signature_delta","signature":"sig"})"),
                       start(1, R"({"type":"thinking","signature":"old"})"), delta(1, R"({"type":"signature_delta"})")}
        << QStringList{} << R"([{"signature":"sig","thinking":"ab","type":"thinking"},{"type":"thinking"}])";
    QTest::newRow("blocks ordered by index, a restart replaces")
        << QStringList{start(2, R"({"type":"thinking","thinking":"z"})"), start(0, textBlock),
                       delta(0, R"({"type":"text_delta","text":"gone"})"), start(0, R"({"type":"text","text":"new"})")}
        << QStringList{status({}), text("gone"), status({}), text("new")}
        << R"([{"text":"new","type":"text"},{"thinking":"z","type":"thinking"}])";
    QTest::newRow("mistyped fields are ignored")
        << QStringList{R"({"type":"content_block_start","index":"0","content_block":{"type":"text"}})",
                       R"({"type":"content_block_start","index":0.5,"content_block":{"type":"text"}})",
                       R"({"type":"content_block_start","index":0,"content_block":[]})",
                       R"({"index":0})",
                       R"({"type":7})",
                       R"({"type":"ping"})",
                       start(0, textBlock),
                       delta(0, R"("not an object")"),
                       delta(0, R"({"type":"unknown_delta","text":"x"})")}
        << QStringList{status({})} << R"([{"text":"","type":"text"}])";
}

void TestStreamAccumulator::decodesEvents()
{
    QFETCH(QStringList, events);
    QFETCH(QStringList, expectedEvents);
    QFETCH(QString, expectedContent);

    QStringList sent;
    StreamAccumulator accumulator([&](const ClaudeEvent& event) { sent << compact(event.toJson()); });
    for (const QString& event : events)
        QVERIFY(!accumulator.handle(object(event)));
    QCOMPARE(sent, expectedEvents);
    QJsonArray content;
    for (const QJsonObject& block : accumulator.orderedContent())
        content.append(block);
    QCOMPARE(QString::fromUtf8(QJsonDocument(content).toJson(QJsonDocument::Compact)), expectedContent);
}

void TestStreamAccumulator::stopReasonAndRefusal_data()
{
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<QString>("stopReason");
    QTest::addColumn<QString>("explanation");

    QTest::newRow("none") << QStringList{} << QString() << QString();
    QTest::newRow("refusal with explanation")
        << QStringList{R"({"type":"message_delta","delta":{"stop_reason":"refusal","stop_details":{"explanation":"No."}}})"}
        << "refusal"
        << "No.";
    QTest::newRow("details without explanation clear it")
        << QStringList{R"({"type":"message_delta","delta":{"stop_reason":"refusal","stop_details":{"explanation":"No."}}})",
                       R"({"type":"message_delta","delta":{"stop_details":{}}})"}
        << "refusal" << QString();
    QTest::newRow("mistyped reason keeps the earlier one")
        << QStringList{R"({"type":"message_delta","delta":{"stop_reason":"pause_turn"}})",
                       R"({"type":"message_delta","delta":{"stop_reason":null,"stop_details":"x"}})",
                       R"({"type":"message_delta","delta":"x"})"}
        << "pause_turn" << QString();
}

void TestStreamAccumulator::stopReasonAndRefusal()
{
    QFETCH(QStringList, events);
    QFETCH(QString, stopReason);
    QFETCH(QString, explanation);

    StreamAccumulator accumulator(nullptr);
    for (const QString& event : events)
        QVERIFY(!accumulator.handle(object(event)));
    QCOMPARE(accumulator.stopReason().value_or(QString()), stopReason);
    QCOMPARE(accumulator.stopReason().has_value(), !stopReason.isNull());
    QCOMPARE(accumulator.refusalExplanation().value_or(QString()), explanation);
    QCOMPARE(accumulator.refusalExplanation().has_value(), !explanation.isNull());
}

void TestStreamAccumulator::errorEventFails_data()
{
    QTest::addColumn<QString>("event");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("message");

    QTest::newRow("overloaded without message")
        << R"({"type":"error","error":{"type":"overloaded_error"}})" << 529 << "overloaded_error"
        << "Stream error";
    QTest::newRow("other type with message")
        << R"({"type":"error","error":{"type":"api_error","message":"Boom"}})" << 500 << "api_error"
        << "Boom";
    QTest::newRow("no error object") << R"({"type":"error"})" << 500 << QString() << "Stream error";
}

void TestStreamAccumulator::errorEventFails()
{
    QFETCH(QString, event);
    QFETCH(int, status);
    QFETCH(QString, type);
    QFETCH(QString, message);

    StreamAccumulator accumulator(nullptr);
    const std::optional<ClaudeError> error = accumulator.handle(object(event));
    QVERIFY(error);
    const std::optional<QString> expectedType = type.isNull() ? std::nullopt : std::optional(type);
    QCOMPARE(*error, ClaudeError::http(status, expectedType, message));
}

void TestStreamAccumulator::longAnswerIsKeptWhole()
{
    StreamAccumulator accumulator(nullptr);
    accumulator.handle(object(start(0, R"({"type":"text"})")));
    const QJsonObject piece = object(delta(0, R"({"type":"text_delta","text":"0123456789"})"));
    for (int i = 0; i < 50000; ++i)
        accumulator.handle(piece);
    const QString text = accumulator.orderedContent().first().value(QStringLiteral("text")).toString();
    QCOMPARE(text.size(), 500000);
    QVERIFY(text.endsWith(QStringLiteral("89")));
}

QTEST_GUILESS_MAIN(TestStreamAccumulator)
#include "tst_streamaccumulator.moc"
