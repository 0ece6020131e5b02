// The chat model against the relay in scenario mode: new and reopened chats, what each turn
// sends, sources, cancellation, errors, saving and the selection of a newly saved chat.
#include "chat/ChatViewModel.h"
#include "conversation/ConversationKit.h"

#include <QJsonArray>
#include <QTest>

namespace {

std::unique_ptr<ChatViewModel> newChat(ConversationKit& kit)
{
    return std::make_unique<ChatViewModel>(kit.navigation.newChatID(), kit.services());
}

HistoryStore::Conversation storedResearch()
{
    HistoryStore::Conversation conversation;
    conversation.kind = HistoryStore::Kind::Research;
    conversation.title = QStringLiteral("Tides");
    conversation.selection = QStringLiteral("Tides are caused by the moon.");
    conversation.appName = QStringLiteral("Reader");
    conversation.createdAt = QDateTime(QDate(2026, 1, 2), QTime(3, 4), Qt::UTC);
    conversation.updatedAt = conversation.createdAt;
    HistoryStore::Turn turn;
    turn.answer = QStringLiteral("Mostly the moon.");
    turn.sources = {{QStringLiteral("Moon"), QUrl(QStringLiteral("https://example.org/moon"))}};
    conversation.turns = {turn};
    return conversation;
}

void send(ChatViewModel& chat, const QString& text)
{
    chat.setDraft(text);
    chat.send();
}

} // namespace

class TestChatViewModel : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void newChatSendsTrimmedQuestionsAndIsTitledSavedAndSelected()
    {
        ConversationKit kit;
        kit.scenario.addStream(RelayScenario::textEvents({"First."}));
        kit.scenario.addStream(RelayScenario::textEvents({"Second."}));
        QVERIFY(kit.start());
        auto chat = newChat(kit);
        send(*chat, QStringLiteral("    "));
        QVERIFY(!chat->isStreaming());
        QCOMPARE(chat->draft(), QStringLiteral("    "));

        send(*chat, QStringLiteral("  What is a tide? \n"));
        QCOMPARE(chat->draft(), QString());
        QCOMPARE(chat->title(), QStringLiteral("What is a tide?"));
        QCOMPARE(chat->status(), QStringLiteral("Thinking…"));
        QTRY_VERIFY(!chat->isStreaming());
        QCOMPARE(kit.navigation.selectedID(), chat->id());
        chat->copy(chat->turns().first());
        QCOMPARE(kit.platform.clipboard->string(), QStringLiteral("First."));
        QCOMPARE(kit.announcer.announcements, (QStringList{"Answer ready", "Copied"}));

        send(*chat, QStringLiteral("And the moon?"));
        QTRY_VERIFY(!chat->isStreaming());
        QCOMPARE(chat->title(), QStringLiteral("What is a tide?"));
        const QJsonObject body = kit.requestBodies().value(1);
        QCOMPARE(body.value("system").toString(), AIAction::chat(false).systemPrompt());
        QCOMPARE(ConversationKit::messageContents(body), (QStringList{"What is a tide?", "First.", "And the moon?"}));
        QCOMPARE(kit.history->conversation(chat->id())->turns.size(), 2);
    }

    void reopenedResearchAsksWithTheResearchTools()
    {
        ConversationKit kit;
        kit.scenario.addStream(RelayScenario::textEvents({"Also the sun."}));
        QVERIFY(kit.start());
        const HistoryStore::Conversation stored = storedResearch();
        ChatViewModel chat(stored, kit.services());
        send(chat, QStringLiteral("Anything else?"));
        QCOMPARE(chat.status(), QStringLiteral("Searching the web…"));
        QVERIFY(!chat.turns().last().deep);
        QTRY_VERIFY(!chat.isStreaming());

        const QJsonObject body = kit.requestBodies().value(0);
        QCOMPARE(body.value("system").toString(), AIAction::ask().systemPrompt());
        QCOMPARE(body.value("tools").toArray(), AIAction::research().tools());
        QVERIFY(!body.value("tools").toArray().isEmpty());
        QCOMPARE(body.value("output_config").toObject().value("effort").toString(), QStringLiteral("high"));
        QCOMPARE(ConversationKit::messageContents(body),
                 (QStringList{AIAction::research().firstUserMessage(*stored.selection, std::nullopt),
                              "Mostly the moon.", "Anything else?"}));
        const auto saved = kit.history->conversation(stored.id);
        QCOMPARE(saved->kind, HistoryStore::Kind::Research);
        QCOMPARE(saved->turns.first().sources, stored.turns.first().sources);
        QCOMPARE(saved->turns.size(), 2);
    }

    void savedSourcesAreListedOnceAndAtMostSixFound_data()
    {
        QTest::addColumn<int>("found");
        QTest::addColumn<int>("cited");
        QTest::addColumn<int>("saved");

        QTest::newRow("two citations of the same page") << 2 << 2 << 1;
        QTest::newRow("nine found, nothing cited") << 9 << 0 << 6;
        QTest::newRow("six found, nothing cited") << 6 << 0 << 6;
    }

    void savedSourcesAreListedOnceAndAtMostSixFound()
    {
        QFETCH(int, found);
        QFETCH(int, cited);
        ConversationKit kit;
        QList<WebSource> foundSources;
        for (int i = 1; i <= found; ++i)
            foundSources.append(ConversationKit::source(i));
        const QList<WebSource> citedSources(cited, ConversationKit::source(1));
        kit.scenario.addStream(ConversationKit::searchEvents(foundSources, {"Answer."}, citedSources));
        QVERIFY(kit.start());
        auto chat = newChat(kit);
        chat->setDeepResearch(true);
        send(*chat, QStringLiteral("Find pages"));
        QCOMPARE(chat->status(), QStringLiteral("Searching the web…"));
        QTRY_VERIFY(!chat->isStreaming());

        const auto stored = kit.history->conversation(chat->id());
        QTEST(int(stored->turns.first().sources.size()), "saved");
        QCOMPARE(stored->turns.first().sources.first().url, ConversationKit::source(1).url);
        QVERIFY(stored->turns.first().deep);
    }

    void cancelledFirstTurnIsRemovedAndNotSaved()
    {
        ConversationKit kit;
        RelayScenario::StreamOptions stalled;
        stalled.stallAfter = 1;
        kit.scenario.addStream(RelayScenario::textEvents({"never"}), stalled);
        kit.scenario.addStream(RelayScenario::textEvents({"Answer."}));
        QVERIFY(kit.start());
        auto chat = newChat(kit);
        send(*chat, QStringLiteral("Question"));
        QTRY_COMPARE(kit.requestBodies().size(), 1);
        chat->cancel();

        QVERIFY(!chat->isStreaming() && chat->turns().isEmpty());
        QCOMPARE(chat->errorMessage(), std::nullopt);
        QVERIFY(kit.history->conversations().isEmpty());

        chat->retry();
        QTRY_VERIFY(!chat->isStreaming());
        QCOMPARE(ConversationKit::messageContents(kit.requestBodies().value(1)), QStringList{"Question"});
        QCOMPARE(kit.history->conversation(chat->id())->turns.size(), 1);
    }

    void failedTurnsShowTheirMessage_data()
    {
        QTest::addColumn<int>("status"); // 0: a stream cut off at max_tokens
        QTest::addColumn<QString>("message");
        QTest::addColumn<ErrorFix>("fix");
        QTest::addColumn<int>("sessionsCleared");
        QTest::addColumn<int>("savedTurns");

        QTest::newRow("length limit keeps the text")
            << 0 << "The answer hit the length limit and was cut off." << ErrorFix::Retry << 0 << 1;
        QTest::newRow("expired session") << 401 << "Your session has ended. Sign in again." << ErrorFix::SignIn << 1
                                         << 0;
    }

    void failedTurnsShowTheirMessage()
    {
        QFETCH(int, status);
        ConversationKit kit;
        if (status == 0)
            kit.scenario.addStream(RelayScenario::textEvents({"Cut ", "off"}, "max_tokens"));
        else
            kit.scenario.addError(status, "authentication_error", "");
        QVERIFY(kit.start());
        auto chat = newChat(kit);
        send(*chat, QStringLiteral("Question"));
        QTRY_VERIFY(!chat->isStreaming());

        QTEST(chat->errorText(), "message");
        QTEST(chat->errorFix(), "fix");
        QTEST(kit.account.sessionsCleared, "sessionsCleared");
        const auto stored = kit.history->conversation(chat->id());
        QTEST(int(stored ? stored->turns.size() : 0), "savedTurns");
        if (status == 0)
            QCOMPARE(chat->turns().first().answer, QStringLiteral("Cut off"));
        else
            QVERIFY(chat->turns().isEmpty());
    }

    // A cancelled turn whose remaining stream is already on its way must not reach the next turn.
    void cancelledTurnNeverReachesTheNextOne()
    {
        ConversationKit kit;
        kit.scenario.addStream(RelayScenario::textEvents({"Old ", "text ", "more"}));
        RelayScenario::StreamOptions paced;
        paced.delayMs = 40;
        kit.scenario.addStream(RelayScenario::textEvents({"New ", "answer"}), paced);
        QVERIFY(kit.start());
        auto chat = newChat(kit);
        QList<bool> streamingChanges;
        connect(chat.get(), &ChatViewModel::isStreamingChanged, this,
                [&] { streamingChanges.append(chat->isStreaming()); });
        bool cancelled = false;
        connect(chat.get(), &ChatViewModel::turnsChanged, this, [&] {
            if (!cancelled && chat->turns().value(0).answer == QStringLiteral("Old ")) {
                cancelled = true;
                chat->cancel();
                send(*chat, QStringLiteral("Again"));
            }
        });
        send(*chat, QStringLiteral("First"));
        QTRY_VERIFY(cancelled);
        QTRY_VERIFY(!chat->isStreaming());

        QCOMPARE(streamingChanges, (QList<bool>{true, false, true, false}));
        QCOMPARE(chat->turns().size(), 2);
        QCOMPARE(chat->turns().first().answer, QStringLiteral("Old "));
        QCOMPARE(chat->turns().last().answer, QStringLiteral("New answer"));
        QCOMPARE(kit.announcer.announcements, QStringList{QStringLiteral("Answer ready")});
        QCOMPARE(kit.history->conversation(chat->id())->turns.size(), 2);
    }
};

QTEST_GUILESS_MAIN(TestChatViewModel)
#include "tst_chatviewmodel.moc"
