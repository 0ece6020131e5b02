#include "model/ConversationHistory.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

// Answer text and the cleaning of content lists before they are sent back.

namespace {

QList<QJsonObject> blocks(const char* json)
{
    QList<QJsonObject> list;
    for (const QJsonValue& value : QJsonDocument::fromJson(json).array())
        list.append(value.toObject());
    return list;
}

} // namespace

class TestConversationHistory : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void answerText_data()
    {
        QTest::addColumn<QList<QJsonObject>>("content");
        QTest::addColumn<QString>("text");

        QTest::newRow("texts around a tool use are joined directly")
            << blocks(
                   R"([{"type":"text","text":"One."},{"type":"server_tool_use","id":"a"},{"type":"text","text":"Two"}])")
            << "One.Two";
        QTest::newRow("other blocks and mistyped text add nothing")
            << blocks(R"([{"type":"thinking","thinking":"x","text":"y"},{"type":"text","text":3},{"text":"z"}])") << "";
    }

    void answerText()
    {
        QFETCH(QList<QJsonObject>, content);
        QTEST(ConversationHistory::text(content), "text");
    }

    void sanitized_data()
    {
        QTest::addColumn<QList<QJsonObject>>("content");
        QTest::addColumn<QList<QJsonObject>>("expected");

        const auto plain = blocks(R"([{"type":"thinking","thinking":"t"},{"type":"text","text":"A"}])");
        QTest::newRow("no marker: unchanged") << plain << plain;
        QTest::newRow("thinking, text, fallback, text")
            << blocks(
                   R"([{"type":"thinking"},{"type":"text","text":"A"},{"type":"fallback"},{"type":"text","text":"B"}])")
            << blocks(R"([{"type":"text","text":"A"},{"type":"text","text":"B"}])");
        QTest::newRow("only paired tool uses survive before the last marker")
            << blocks(R"([{"type":"server_tool_use","id":"s1"},{"type":"server_tool_use","id":"s2"},)"
                      R"({"type":"web_search_tool_result","tool_use_id":"s1"},{"type":"fallback"},{"id":"x"},)"
                      R"({"type":"fallback"},{"type":"thinking"},{"type":"server_tool_use","id":"s3"}])")
            << blocks(R"([{"type":"server_tool_use","id":"s1"},{"type":"web_search_tool_result","tool_use_id":"s1"},)"
                      R"({"type":"thinking"},{"type":"server_tool_use","id":"s3"}])");
    }

    void sanitized()
    {
        QFETCH(QList<QJsonObject>, content);
        QTEST(ConversationHistory::sanitized(content), "expected");
    }
};

QTEST_GUILESS_MAIN(TestConversationHistory)
#include "tst_conversationhistory.moc"
