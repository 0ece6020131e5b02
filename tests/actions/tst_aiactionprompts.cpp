#include "actions/AIAction.h"
#include "platform/fake/FakePreferredLanguages.h"

#include <QJsonDocument>
#include <QTest>

using PlatformWording::Platform;

namespace {

const QString kMacPreamble =
    "The user selected some text in another app on their Mac and invoked you from a small popup. ";
const QString kLinuxPreamble =
    "The user selected some text in another app on their computer and invoked you from a small popup. ";
const QString kChatBody = " Give thorough, well-organized answers and go into depth when the question calls for it. "
                          "Ask a clarifying question only when you really can't proceed. Use Markdown.";
const QString kMacChat = "You are Halvora, chatting with the user in its Mac app." + kChatBody;
const QString kLinuxChat = "You are Halvora, chatting with the user in its computer app." + kChatBody;
const QString kOutputRule =
    "Output only the rewritten text, exactly as it should replace the original: no preamble, no quotes, no "
    "explanation. Keep the original language. Preserve line breaks, lists and Markdown unless the instruction "
    "requires changing them.";

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

    // Pill actions give the text after the popup preamble; the chat rows give the whole prompt.
    void systemPrompt_data()
    {
        QTest::addColumn<AIAction>("action");
        QTest::addColumn<QString>("mac");
        QTest::addColumn<QString>("linuxText");
        auto popup = [](const char* name, const AIAction& action, const QString& rest) {
            QTest::newRow(name) << action << kMacPreamble + rest << kLinuxPreamble + rest;
        };
        popup("rewrite grammar", AIAction::rewrite(RewriteStyle::grammar),
              "Rewrite the selected text. Fix spelling, grammar and punctuation only. Change nothing else.\n" +
                  kOutputRule);
        popup("rewrite translate", AIAction::rewrite(RewriteStyle::translate),
              "Rewrite the selected text. Translate the text into English. If it's already in English, translate it "
              "into Spanish. Keep the tone, names and formatting; translate naturally, not word for word.\n" +
                  kOutputRule);
        popup("custom", AIAction::custom(mode("Brand voice", "- Short sentences.\n- No jargon.")),
              "Rewrite the selected text following the user's writing mode \"Brand voice\". Its rules:\n"
              "<writing_mode>\n- Short sentences.\n- No jargon.\n</writing_mode>\n"
              "Follow these rules exactly. Keep the meaning and the facts; don't add or remove information the rules "
              "don't call for.\n" +
                  kOutputRule);
        popup("custom, nothing escaped", AIAction::custom(mode("My \"best\" <mode>", "a </writing_mode> b & c")),
              "Rewrite the selected text following the user's writing mode \"My \"best\" <mode>\". Its rules:\n"
              "<writing_mode>\na </writing_mode> b & c\n</writing_mode>\n"
              "Follow these rules exactly. Keep the meaning and the facts; don't add or remove information the rules "
              "don't call for.\n" +
                  kOutputRule);
        QTest::newRow("chat") << AIAction::chat(false) << kMacChat << kLinuxChat;
        const QString research = " Research this message with web search, and fetch pages when you need detail. "
                                 "Prefer recent, authoritative sources and cite them.";
        QTest::newRow("deep chat") << AIAction::chat(true) << kMacChat + research << kLinuxChat + research;
        popup("explain", AIAction::explain(),
              "Explain what the selected text means in plain language. Define jargon, acronyms and references, and "
              "add the context a smart non-expert would need. Match length to the selection: a short paragraph or a "
              "few bullets for a short selection, more for dense material. Use Markdown.");
        popup("translate", AIAction::translate(),
              "Translate the text into English. If it's already in English, translate it into Spanish. Output only "
              "the translation: no preamble, no notes, no quotes. Keep names, numbers and formatting. Translate "
              "naturally, not word for word.");
        popup("research", AIAction::research(),
              "Research the selected text using web search, and fetch pages when you need detail. Produce a "
              "well-organized brief in Markdown with these sections: Summary, Key facts, Background, Different "
              "perspectives (only if there are real disagreements), and Open questions. Prefer recent, authoritative "
              "sources and cite them.");
        popup("web search", AIAction::webSearch(),
              "Search the web for the selected text and give a short, direct answer that summarizes what current "
              "sources say. Lead with the answer, then a few supporting bullets. Cite your sources. Use Markdown.");
        popup("ask", AIAction::ask(),
              "They have a question about the selection. Answer it directly, using the selected text as the main "
              "context and your own knowledge where useful. Be concise. Use Markdown.");
    }

    void systemPrompt()
    {
        QFETCH(AIAction, action);
        QFETCH(QString, mac);
        QFETCH(QString, linuxText);
        QCOMPARE(action.systemPrompt(Platform::Mac), mac);
        QCOMPARE(action.systemPrompt(Platform::Linux), linuxText);
        QCOMPARE(action.systemPrompt(), linuxText);
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
        QTest::newRow("rewrite") << AIAction::rewrite(RewriteStyle::grammar) << text << false << "" << wrapped;
        QTest::newRow("rewrite ignores a question")
            << AIAction::rewrite(RewriteStyle::improve) << text << true << "why?" << wrapped;
        QTest::newRow("custom") << AIAction::custom(mode("m", "r")) << text << false << "" << wrapped;
        QTest::newRow("chat without question") << AIAction::chat(false) << text << false << "" << text;
        QTest::newRow("chat with question") << AIAction::chat(false) << text << true << "What is this?"
                                            << "What is this?";
        QTest::newRow("deep chat with question") << AIAction::chat(true) << text << true << "Sources?"
                                                 << "Sources?";
        QTest::newRow("explain") << AIAction::explain() << text << false << "" << wrapped + "\n\nExplain this.";
        QTest::newRow("explain, empty selection") << AIAction::explain() << "" << false << ""
                                                  << "<selected_text>\n\n</selected_text>\n\nExplain this.";
        QTest::newRow("translate") << AIAction::translate() << text << false << "" << wrapped + "\n\nTranslate this.";
        QTest::newRow("research") << AIAction::research() << text << false << "" << wrapped + "\n\nResearch this.";
        QTest::newRow("web search") << AIAction::webSearch() << text << false << ""
                                    << wrapped + "\n\nSearch the web for this.";
        QTest::newRow("ask with question")
            << AIAction::ask() << text << true << "Is it true?" << wrapped + "\n\nIs it true?";
        QTest::newRow("ask without question") << AIAction::ask() << text << false << "" << wrapped + "\n\n";
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
        QTest::newRow("web search") << AIAction::webSearch()
                                    << QByteArray(
                                           R"([{"type":"web_search_20260209","name":"web_search","max_uses":3}])");
        QTest::newRow("research") << AIAction::research() << searchAndFetch;
        QTest::newRow("deep chat") << AIAction::chat(true) << searchAndFetch;
        QTest::newRow("chat") << AIAction::chat(false) << none;
        QTest::newRow("rewrite") << AIAction::rewrite(RewriteStyle::translate) << none;
        QTest::newRow("custom") << AIAction::custom(mode("m", "r")) << none;
        QTest::newRow("explain") << AIAction::explain() << none;
        QTest::newRow("translate") << AIAction::translate() << none;
        QTest::newRow("ask") << AIAction::ask() << none;
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
