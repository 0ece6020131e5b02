#include "model/JsonText.h"
#include "model/StreamLineReader.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QTest>

// Line splitting of a stream that arrives in pieces, and JSON text of any top-level value.
class TestStreamLineReader : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void splitsLines_data();
    void splitsLines();
    void stopsWhenTheHandlerSaysSo();
    void parsesAnyValue_data();
    void parsesAnyValue();
};

void TestStreamLineReader::splitsLines_data()
{
    QTest::addColumn<QByteArrayList>("pieces");
    QTest::addColumn<QByteArrayList>("lines");

    QTest::newRow("LF, CR and CRLF") << QByteArrayList{"a\nb\rc\r\nd\n"} << QByteArrayList{"a", "b", "c", "d"};
    QTest::newRow("blank lines count") << QByteArrayList{"a\n\n\r\n\rb\n"} << QByteArrayList{"a", "", "", "", "b"};
    QTest::newRow("CRLF split between pieces") << QByteArrayList{"a\r", "\nb\n"} << QByteArrayList{"a", "b"};
    QTest::newRow("CR, empty piece, LF") << QByteArrayList{"a\r", "", "\nb\n"} << QByteArrayList{"a", "b"};
    QTest::newRow("CR then a line") << QByteArrayList{"a\r", "b\n"} << QByteArrayList{"a", "b"};
    QTest::newRow("line spread over pieces") << QByteArrayList{"da", "ta: {", "}\n"} << QByteArrayList{"data: {}"};
    QTest::newRow("unterminated last line") << QByteArrayList{"a\nda", "ta: {\"x"} << QByteArrayList{"a", "data: {\"x"};
}

void TestStreamLineReader::splitsLines()
{
    QFETCH(QByteArrayList, pieces);
    QFETCH(QByteArrayList, lines);
    StreamLineReader reader;
    QByteArrayList seen;
    const auto collect = [&](QByteArrayView line) {
        seen << line.toByteArray();
        return true;
    };
    for (const QByteArray& piece : pieces)
        QVERIFY(reader.feed(piece, collect));
    QVERIFY(reader.finish(collect));
    QCOMPARE(seen, lines);
}

void TestStreamLineReader::stopsWhenTheHandlerSaysSo()
{
    StreamLineReader reader;
    QByteArrayList seen;
    const auto firstOnly = [&](QByteArrayView line) {
        seen << line.toByteArray();
        return false;
    };
    QVERIFY(!reader.feed("a\nb\n", firstOnly));
    QVERIFY(!reader.feed("c\n", firstOnly));
    QVERIFY(!reader.finish(firstOnly));
    QCOMPARE(seen, QByteArrayList{"a"});
}

void TestStreamLineReader::parsesAnyValue_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QJsonValue>("value");

    QTest::newRow("object") << QByteArray(R"({"a":1})") << true << QJsonValue(QJsonObject{{"a", 1}});
    QTest::newRow("array") << QByteArray("[1]") << true << QJsonValue(QJsonArray{1});
    QTest::newRow("number") << QByteArray("42") << true << QJsonValue(42);
    QTest::newRow("string") << QByteArray(R"("x")") << true << QJsonValue("x");
    QTest::newRow("cut-off object") << QByteArray(R"({"a":)") << false << QJsonValue();
    QTest::newRow("two values") << QByteArray("1,2") << false << QJsonValue();
    QTest::newRow("closing the wrapper early") << QByteArray("1],[2") << false << QJsonValue();
    QTest::newRow("empty") << QByteArray() << false << QJsonValue();
}

void TestStreamLineReader::parsesAnyValue()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, valid);
    QFETCH(QJsonValue, value);
    QString error;
    const std::optional<QJsonValue> parsed = JsonText::parse(text, &error);
    QCOMPARE(parsed.has_value(), valid);
    QCOMPARE(error.isEmpty(), valid);
    if (parsed)
        QCOMPARE(*parsed, value);
}

QTEST_GUILESS_MAIN(TestStreamLineReader)
#include "tst_streamlinereader.moc"
