#include "actions/AIAction.h"
#include "platform/fake/FakePreferredLanguages.h"

#include <QTest>

namespace {
const WritingMode kMode{QUuid::fromString(QStringLiteral("8C1E5B2A-3F4D-4E6A-9B7C-0D1E2F3A4B5C")),
                        QStringLiteral("Brand voice"), QStringLiteral("Short sentences.")};
}

// Carries an action through a queued signal, as the pill and the app controller do.
class ActionSender : public QObject {
    Q_OBJECT
Q_SIGNALS:
    void chosen(const AIAction& action);
};

class TestAIAction : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        PreferredLanguages::setCurrent(std::make_unique<FakePreferredLanguages>(QStringList{QStringLiteral("de-CH")}));
    }

    void cleanupTestCase() { PreferredLanguages::setCurrent(nullptr); }

    void equality_data()
    {
        QTest::addColumn<AIAction>("a");
        QTest::addColumn<AIAction>("b");
        QTest::addColumn<bool>("equal");
        WritingMode otherRules = kMode;
        otherRules.instructions = QStringLiteral("Long sentences.");
        WritingMode otherId = kMode;
        otherId.id = QUuid::createUuid();
        QTest::newRow("same style") << AIAction::rewrite(RewriteStyle::Grammar)
                                    << AIAction::rewrite(RewriteStyle::Grammar) << true;
        QTest::newRow("other style") << AIAction::rewrite(RewriteStyle::Grammar)
                                     << AIAction::rewrite(RewriteStyle::Shorter) << false;
        QTest::newRow("translate style vs translate")
            << AIAction::rewrite(RewriteStyle::Translate) << AIAction::translate() << false;
        QTest::newRow("deep vs plain chat") << AIAction::chat(true) << AIAction::chat(false) << false;
        QTest::newRow("same deep chat") << AIAction::chat(true) << AIAction::chat(true) << true;
        QTest::newRow("same mode") << AIAction::custom(kMode) << AIAction::custom(kMode) << true;
        QTest::newRow("modes differing in rules") << AIAction::custom(kMode) << AIAction::custom(otherRules) << false;
        QTest::newRow("modes differing in id") << AIAction::custom(kMode) << AIAction::custom(otherId) << false;
        QTest::newRow("research vs deep chat") << AIAction::research() << AIAction::chat(true) << false;
        QTest::newRow("default is a plain chat") << AIAction() << AIAction::chat(false) << true;
    }

    void equality()
    {
        QFETCH(AIAction, a);
        QFETCH(AIAction, b);
        QFETCH(bool, equal);
        QCOMPARE(a == b, equal);
        QCOMPARE(a != b, !equal);
    }

    void mappings_data()
    {
        QTest::addColumn<AIAction>("action");
        QTest::addColumn<QString>("flags");     // rewriting, web, runs at once
        QTest::addColumn<QStringList>("texts"); // opening status, history kind, history style (when any)
        auto row = [](const char* name, const AIAction& action, const char* flags, const QStringList& texts) {
            QTest::newRow(name) << action << flags << texts;
        };
        row("rewrite", AIAction::rewrite(RewriteStyle::Shorter), "R-A", {"Rewriting…", "rewrite", "Make shorter"});
        row("custom", AIAction::custom(kMode), "R-A", {"Rewriting…", "rewrite", "Brand voice"});
        row("chat", AIAction::chat(false), "--A", {"Thinking…", "chat"});
        row("deep chat", AIAction::chat(true), "-WA", {"Searching the web…", "chat"});
        row("explain", AIAction::explain(), "--A", {"Thinking…", "explain"});
        row("translate", AIAction::translate(), "--A", {"Thinking…", "translate"});
        row("research", AIAction::research(), "-WA", {"Searching the web…", "research"});
        row("web search", AIAction::webSearch(), "-WA", {"Searching the web…", "search"});
        row("ask", AIAction::ask(), "---", {"Thinking…", "ask"});
    }

    void mappings()
    {
        QFETCH(AIAction, action);
        QFETCH(QString, flags);
        QFETCH(QStringList, texts);
        QCOMPARE(action.isRewriting(), flags[0] == 'R');
        QCOMPARE(action.allowsFollowUps(), flags[0] != 'R');
        QCOMPARE(action.isWeb(), flags[1] == 'W');
        QCOMPARE(action.runsAtOnce(), flags[2] == 'A');
        QCOMPARE(action.openingStatus(), texts[0]);
        QCOMPARE(action.historyKindName(), texts[1]);
        QCOMPARE(action.historyStyle(), texts.size() > 2 ? std::optional<QString>(texts[2]) : std::nullopt);
    }

    void travelsThroughQueuedSignals()
    {
        ActionSender sender;
        AIAction received;
        connect(
            &sender, &ActionSender::chosen, this, [&](const AIAction& action) { received = action; },
            Qt::QueuedConnection);
        Q_EMIT sender.chosen(AIAction::custom(kMode));
        QTRY_COMPARE(received, AIAction::custom(kMode));
        QCOMPARE(QVariant::fromValue(AIAction::chat(true)).value<AIAction>(), AIAction::chat(true));
    }
};

QTEST_GUILESS_MAIN(TestAIAction)
#include "tst_aiaction.moc"
