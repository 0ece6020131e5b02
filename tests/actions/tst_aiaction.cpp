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

    void catalogue_data()
    {
        QTest::addColumn<AIAction>("action");
        QTest::addColumn<int>("tag");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("symbol");
        QTest::newRow("rewrite improve") << AIAction::rewrite(RewriteStyle::improve) << 0 << "Improve writing"
                                         << "wand.and.stars";
        QTest::newRow("rewrite translate") << AIAction::rewrite(RewriteStyle::translate) << 0 << "Translate to German"
                                           << "character.bubble";
        QTest::newRow("custom") << AIAction::custom(kMode) << 1 << "Brand voice"
                                << "text.badge.checkmark";
        QTest::newRow("chat") << AIAction::chat(false) << 2 << "Chat"
                              << "bubble.left.and.text.bubble.right";
        QTest::newRow("deep chat") << AIAction::chat(true) << 2 << "Deep research"
                                   << "books.vertical";
        QTest::newRow("explain") << AIAction::explain() << 3 << "Explain"
                                 << "lightbulb";
        QTest::newRow("translate") << AIAction::translate() << 4 << "Translate"
                                   << "character.bubble";
        QTest::newRow("research") << AIAction::research() << 5 << "Research"
                                  << "books.vertical";
        QTest::newRow("web search") << AIAction::webSearch() << 6 << "Web search"
                                    << "globe";
        QTest::newRow("ask") << AIAction::ask() << 7 << "Ask AI"
                             << "sparkles";
    }

    void catalogue()
    {
        QFETCH(AIAction, action);
        QTEST(action.tag(), "tag");
        QTEST(action.title(), "title");
        QTEST(action.symbol(), "symbol");
    }

    void equality_data()
    {
        QTest::addColumn<AIAction>("a");
        QTest::addColumn<AIAction>("b");
        QTest::addColumn<bool>("equal");
        WritingMode otherRules = kMode;
        otherRules.instructions = QStringLiteral("Long sentences.");
        WritingMode otherId = kMode;
        otherId.id = QUuid::createUuid();
        QTest::newRow("same style") << AIAction::rewrite(RewriteStyle::grammar)
                                    << AIAction::rewrite(RewriteStyle::grammar) << true;
        QTest::newRow("other style") << AIAction::rewrite(RewriteStyle::grammar)
                                     << AIAction::rewrite(RewriteStyle::shorter) << false;
        QTest::newRow("translate style vs translate")
            << AIAction::rewrite(RewriteStyle::translate) << AIAction::translate() << false;
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

    void payloads()
    {
        QCOMPARE(AIAction::rewrite(RewriteStyle::casual).style(), std::optional<RewriteStyle>(RewriteStyle::casual));
        QVERIFY(!AIAction::rewrite(RewriteStyle::casual).writingMode());
        QCOMPARE(AIAction::custom(kMode).writingMode(), std::optional<WritingMode>(kMode));
        QVERIFY(!AIAction::custom(kMode).style());
        QVERIFY(AIAction::chat(true).isDeep());
        QVERIFY(!AIAction::research().isDeep());
    }

    void mappings_data()
    {
        QTest::addColumn<AIAction>("action");
        QTest::addColumn<bool>("rewriting");
        QTest::addColumn<bool>("web");
        QTest::addColumn<bool>("atOnce");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("style");
        const QString none;
        QTest::newRow("rewrite") << AIAction::rewrite(RewriteStyle::shorter) << true << false << true << "Rewriting…"
                                 << "rewrite"
                                 << "Make shorter";
        QTest::newRow("custom") << AIAction::custom(kMode) << true << false << true << "Rewriting…"
                                << "rewrite"
                                << "Brand voice";
        QTest::newRow("chat") << AIAction::chat(false) << false << false << true << "Thinking…"
                              << "chat" << none;
        QTest::newRow("deep chat") << AIAction::chat(true) << false << true << true << "Searching the web…"
                                   << "chat" << none;
        QTest::newRow("explain") << AIAction::explain() << false << false << true << "Thinking…"
                                 << "explain" << none;
        QTest::newRow("translate") << AIAction::translate() << false << false << true << "Thinking…"
                                   << "translate" << none;
        QTest::newRow("research") << AIAction::research() << false << true << true << "Searching the web…"
                                  << "research" << none;
        QTest::newRow("web search") << AIAction::webSearch() << false << true << true << "Searching the web…"
                                    << "search" << none;
        QTest::newRow("ask") << AIAction::ask() << false << false << false << "Thinking…"
                             << "ask" << none;
    }

    void mappings()
    {
        QFETCH(AIAction, action);
        QFETCH(bool, rewriting);
        QFETCH(QString, style);
        QCOMPARE(action.isRewriting(), rewriting);
        QCOMPARE(action.allowsFollowUps(), !rewriting);
        QTEST(action.isWeb(), "web");
        QTEST(action.runsAtOnce(), "atOnce");
        QTEST(action.openingStatus(), "status");
        QTEST(action.historyKindName(), "kind");
        QCOMPARE(action.historyStyle().has_value(), !style.isNull());
        QCOMPARE(action.historyStyle().value_or(QString()), style);
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
