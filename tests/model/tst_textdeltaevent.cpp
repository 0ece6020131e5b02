#include "model/JsonText.h"
#include "model/TextDeltaEvent.h"

#include <QJsonObject>
#include <QTest>

// Text deltas read without a JSON document must mean exactly what the full parser reads from
// the same text; whatever the reader does not take is left to the full parser.
class TestTextDeltaEvent : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void readsLikeTheFullParser_data();
    void readsLikeTheFullParser();
};

void TestTextDeltaEvent::readsLikeTheFullParser_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<bool>("taken");

    const auto row = [](const char* name, const QByteArray& json, bool taken) { QTest::newRow(name) << json << taken; };
    row("the service's key order",
        R"({"type":"content_block_delta","index":0,"delta":{"type":"text_delta","text":"Hi"}})", true);
    row("sorted keys", R"({"delta":{"text":"Hi ","type":"text_delta"},"index":12,"type":"content_block_delta"})", true);
    row("whitespace between tokens",
        "{ \"type\" : \"content_block_delta\",\n\t\"index\":3 ,\"delta\":{\"type\":\"text_delta\",\"text\":\"a\"} "
        "}\r\n",
        true);
    row("empty text", R"({"type":"content_block_delta","index":0,"delta":{"type":"text_delta","text":""}})", true);
    row("simple escapes",
        R"({"type":"content_block_delta","index":0,"delta":{"type":"text_delta","text":"a\"b\\c\/d\b\f\n\r\t"}})",
        true);
    row("unicode escapes",
        R"({"type":"content_block_delta","index":0,"delta":{"type":"text_delta","text":"\u00e9\u20AC\u0041\u0000"}})",
        true);
    row("UTF-8 text",
        "{\"type\":\"content_block_delta\",\"index\":0,\"delta\":{\"type\":\"text_delta\",\"text\":\"caf\xc3\xa9 "
        "\xe2\x80\x99 \xf0\x9f\x98\x80\"}}",
        true);
    row("byte order mark first",
        "{\"type\":\"content_block_delta\",\"index\":0,\"delta\":{\"type\":\"text_delta\",\"text\":\"\xef\xbb\xbfx\"}}",
        false);
    row("byte order mark inside",
        "{\"type\":\"content_block_delta\",\"index\":0,\"delta\":{\"type\":\"text_delta\",\"text\":\"x\xef\xbb\xbfy\"}"
        "}",
        false);
    row("noncharacters and the last code point",
        "{\"type\":\"content_block_delta\",\"index\":0,\"delta\":{\"type\":\"text_delta\",\"text\":"
        "\"\xef\xbf\xbf\xef\xbf\xbe\xf4\x8f\xbf\xbf\xe2\x80\xa8\\uffff\"}}",
        true);
    row("escaped byte order mark",
        R"({"type":"content_block_delta","index":0,"delta":{"type":"text_delta","text":"x\ufeffy"}})", true);
    row("escaped surrogate pair",
        R"({"type":"content_block_delta","index":0,"delta":{"type":"text_delta","text":"\ud83d\ude00"}})", false);
    row("invalid UTF-8",
        "{\"type\":\"content_block_delta\",\"index\":0,\"delta\":{\"type\":\"text_delta\",\"text\":\"\xc3(\"}}", false);
    row("overlong UTF-8",
        "{\"type\":\"content_block_delta\",\"index\":0,\"delta\":{\"type\":\"text_delta\",\"text\":\"\xc0\xaf\"}}",
        false);
    row("thinking delta",
        R"({"type":"content_block_delta","index":0,"delta":{"type":"thinking_delta","thinking":"x"}})", false);
    row("another event", R"({"type":"content_block_stop","index":0})", false);
    row("extra key", R"({"type":"content_block_delta","index":0,"x":1,"delta":{"type":"text_delta","text":"a"}})",
        false);
    row("repeated text",
        R"({"type":"content_block_delta","index":0,"delta":{"type":"text_delta","text":"a","text":"b"}})", false);
    row("missing index", R"({"type":"content_block_delta","delta":{"type":"text_delta","text":"a"}})", false);
    row("fractional index", R"({"type":"content_block_delta","index":1.0,"delta":{"type":"text_delta","text":"a"}})",
        false);
    row("negative index", R"({"type":"content_block_delta","index":-1,"delta":{"type":"text_delta","text":"a"}})",
        false);
    row("leading zero", R"({"type":"content_block_delta","index":01,"delta":{"type":"text_delta","text":"a"}})", false);
    row("huge index", R"({"type":"content_block_delta","index":99999999999,"delta":{"type":"text_delta","text":"a"}})",
        false);
    row("text not a string", R"({"type":"content_block_delta","index":0,"delta":{"type":"text_delta","text":5}})",
        false);
    row("raw control character",
        "{\"type\":\"content_block_delta\",\"index\":0,\"delta\":{\"type\":\"text_delta\",\"text\":\"a\x01\"}}", false);
    row("cut off", R"({"type":"content_block_delta","index":0,"delta":{"type":"text_delta","text":"a)", false);
    row("trailing garbage", R"({"type":"content_block_delta","index":0,"delta":{"type":"text_delta","text":"a"}}x)",
        false);
    row("bad escape", R"({"type":"content_block_delta","index":0,"delta":{"type":"text_delta","text":"\x41"}})", false);
    row("short unicode escape",
        R"({"type":"content_block_delta","index":0,"delta":{"type":"text_delta","text":"\u41"}})", false);
    row("escaped key", R"({"typ\u0065":"content_block_delta","index":0,"delta":{"type":"text_delta","text":"a"}})",
        false);
}

void TestTextDeltaEvent::readsLikeTheFullParser()
{
    QFETCH(QByteArray, json);
    QFETCH(bool, taken);
    const std::optional<TextDeltaEvent> event = TextDeltaEvent::scan(json);
    QCOMPARE(event.has_value(), taken);
    if (!event)
        return;
    const std::optional<QJsonValue> parsed = JsonText::parse(json.trimmed());
    QVERIFY(parsed && parsed->isObject());
    const QJsonObject object = parsed->toObject();
    QCOMPARE(object.value("type").toString(), QStringLiteral("content_block_delta"));
    QCOMPARE(object.value("index").toDouble(), double(event->index));
    QCOMPARE(object.value("delta").toObject().value("type").toString(), QStringLiteral("text_delta"));
    QCOMPARE(event->text, object.value("delta").toObject().value("text").toString());
}

QTEST_GUILESS_MAIN(TestTextDeltaEvent)
#include "tst_textdeltaevent.moc"
