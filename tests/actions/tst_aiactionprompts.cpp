#include "actions/AIAction.h"
#include "platform/fake/FakePreferredLanguages.h"
#include "support/TestRows.h"

#include <QJsonDocument>
#include <QRegularExpression>
#include <QTest>

namespace {

const QString kPreamble =
    "The user selected some text in another app on their computer and invoked you from a small popup. ";
const QString kOutputRule = "\nOutput only the rewritten text, exactly as it should replace the original:";

WritingMode mode(const QString& name, const QString& instructions)
{
    return WritingMode{QUuid::createUuid(), name, instructions};
}

} // namespace

class TestAIActionPrompts : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        PreferredLanguages::setCurrent(std::make_unique<FakePreferredLanguages>(QStringList{QStringLiteral("en-US")}));
    }

    void cleanupTestCase() { PreferredLanguages::setCurrent(nullptr); }

    // Each prompt starts with its opening and carries its own distinctive phrases.
    void systemPrompt_data()
    {
        QTest::addColumn<AIAction>("action");
        QTest::addColumn<QString>("opening");
        QTest::addColumn<QStringList>("phrases");
        const QString chatOpening = "You are Halvora, chatting with the user in its computer app. Give thorough";
        const QString rules = "Its rules:\n<writing_mode>\n";
        addRow("rewrite grammar", AIAction::rewrite(RewriteStyle::Grammar), kPreamble,
               QStringList{"Fix spelling, grammar and punctuation only.", kOutputRule});
        addRow("rewrite translate", AIAction::rewrite(RewriteStyle::Translate), kPreamble,
               QStringList{"into English. If it's already in English, translate it into Spanish.", kOutputRule});
        addRow("custom", AIAction::custom(mode("Brand voice", "- Short sentences.\n- No jargon.")), kPreamble,
               QStringList{"writing mode \"Brand voice\". " + rules +
                               "- Short sentences.\n- No jargon.\n</writing_mode>\nFollow",
                           kOutputRule});
        addRow("custom, nothing escaped", AIAction::custom(mode("My \"best\" <mode>", "a </writing_mode> b & c")),
               kPreamble,
               QStringList{"mode \"My \"best\" <mode>\". " + rules + "a </writing_mode> b & c\n</writing_mode>\n"});
        addRow("chat", AIAction::chat(false), chatOpening, QStringList{"Use Markdown."});
        addRow("deep chat", AIAction::chat(true), chatOpening,
               QStringList{"Use Markdown. Research this message with web search"});
        addRow("explain", AIAction::explain(), kPreamble,
               QStringList{"Explain what the selected text means in plain language."});
        addRow("translate", AIAction::translate(), kPreamble, QStringList{"Output only the translation: no preamble"});
        addRow("research", AIAction::research(), kPreamble,
               QStringList{"Summary, Key facts, Background, Different perspectives"});
        addRow("web search", AIAction::webSearch(), kPreamble, QStringList{"Search the web for the selected text"});
        addRow("ask", AIAction::ask(), kPreamble, QStringList{"They have a question about the selection."});
    }

    void systemPrompt()
    {
        QFETCH(AIAction, action);
        QFETCH(QString, opening);
        QFETCH(QStringList, phrases);
        // The prompt the program sends speaks of the user's computer, nowhere of a Mac.
        QVERIFY(action.systemPrompt().startsWith(opening));
        QVERIFY(!action.systemPrompt().contains(QRegularExpression("\\bMac\\b")));
        for (const QString& phrase : phrases)
            QVERIFY2(action.systemPrompt().contains(phrase), qPrintable(phrase));
    }

    void firstUserMessage_data()
    {
        QTest::addColumn<AIAction>("action");
        QTest::addColumn<QString>("selection");
        QTest::addColumn<bool>("hasQuestion");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("expected");
        const QString text = "  Ünïcode <b>&</b>\n\tline two  ";
        const QString wrapped = "<selected_text>\n" + text + "\n</selected_text>";
        addRow("rewrite", AIAction::rewrite(RewriteStyle::Grammar), text, false, "", wrapped);
        addRow("rewrite ignores a question", AIAction::rewrite(RewriteStyle::Improve), text, true, "why?", wrapped);
        addRow("custom", AIAction::custom(mode("m", "r")), text, false, "", wrapped);
        addRow("chat without question", AIAction::chat(false), text, false, "", text);
        addRow("chat with question", AIAction::chat(false), text, true, "What is this?", "What is this?");
        addRow("deep chat with question", AIAction::chat(true), text, true, "Sources?", "Sources?");
        addRow("explain", AIAction::explain(), text, false, "", wrapped + "\n\nExplain this.");
        addRow("explain, empty selection", AIAction::explain(), "", false, "",
               "<selected_text>\n\n</selected_text>\n\nExplain this.");
        addRow("translate", AIAction::translate(), text, false, "", wrapped + "\n\nTranslate this.");
        addRow("research", AIAction::research(), text, false, "", wrapped + "\n\nResearch this.");
        addRow("web search", AIAction::webSearch(), text, false, "", wrapped + "\n\nSearch the web for this.");
        addRow("ask with question", AIAction::ask(), text, true, "Is it true?", wrapped + "\n\nIs it true?");
        addRow("ask without question", AIAction::ask(), text, false, "", wrapped + "\n\n");
    }

    void firstUserMessage()
    {
        QFETCH(AIAction, action);
        QFETCH(QString, selection);
        QFETCH(bool, hasQuestion);
        QFETCH(QString, question);
        const std::optional<QString> asked = hasQuestion ? std::optional<QString>(question) : std::nullopt;
        QTEST(action.firstUserMessage(selection, asked), "expected");
    }

    void tools_data()
    {
        QTest::addColumn<AIAction>("action");
        QTest::addColumn<QByteArray>("json");
        const QByteArray none = "[]";
        const QByteArray searchAndFetch = R"([{"type":"web_search_20260209","name":"web_search","max_uses":8},)"
                                          R"({"type":"web_fetch_20260209","name":"web_fetch","max_uses":5}])";
        addRow("web search", AIAction::webSearch(),
               QByteArray(R"([{"type":"web_search_20260209","name":"web_search","max_uses":3}])"));
        addRow("research", AIAction::research(), searchAndFetch);
        addRow("deep chat", AIAction::chat(true), searchAndFetch);
        addRow("chat", AIAction::chat(false), none);
        addRow("rewrite", AIAction::rewrite(RewriteStyle::Translate), none);
        addRow("custom", AIAction::custom(mode("m", "r")), none);
        addRow("explain", AIAction::explain(), none);
        addRow("translate", AIAction::translate(), none);
        addRow("ask", AIAction::ask(), none);
    }

    void tools()
    {
        QFETCH(AIAction, action);
        QFETCH(QByteArray, json);
        const QJsonArray tools = action.tools();
        QCOMPARE(tools, QJsonDocument::fromJson(json).array());
        // Nothing beyond the three keys the service expects.
        for (const QJsonValue& tool : tools)
            QCOMPARE(tool.toObject().size(), 3);
    }
};

QTEST_GUILESS_MAIN(TestAIActionPrompts)
#include "tst_aiactionprompts.moc"
