// The result flow against the relay in scenario mode: streaming, follow-ups, stops, failures,
// rewrite switches, history records and the copy/replace/hand-over actions.
#include "conversation/ConversationKit.h"
#include "result/ResultViewModel.h"
#include "support/TestRows.h"

#include <QTest>

namespace {

const QString selectedText = QStringLiteral("The quick brown fox.");

std::unique_ptr<ResultViewModel> makeModel(ConversationKit& kit, const AIAction& action, bool editable = true)
{
    Selection selection{selectedText, editable, std::nullopt, 501, QStringLiteral("Editor"), {}};
    return std::make_unique<ResultViewModel>(selection, action, kit.services());
}

AIAction rewrite(RewriteStyle::Case style)
{
    return AIAction::rewrite(RewriteStyle(style));
}

RelayScenario::StreamOptions options(int stallAfter, int delayMs = 0, int cutAfter = -1)
{
    return {delayMs, cutAfter, stallAfter};
}

} // namespace

class TestResultViewModel : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void finishedTurnIsShownAnnouncedAndRecorded_data()
    {
        QTest::addColumn<AIAction>("action");
        QTest::addColumn<QList<QJsonObject>>("events");
        QTest::addColumn<QString>("openingStatus");
        QTest::addColumn<QString>("notice");
        QTest::addColumn<HistoryStore::Kind>("kind");
        QTest::addColumn<int>("sources");

        const WebSource a = ConversationKit::source(1), b = ConversationKit::source(2);
        addRow("explain", AIAction::explain(), RelayScenario::textEvents({"A fox ", "jumps."}), "Thinking…", "",
               HistoryStore::Kind::Explain, 0);
        addRow("web search lists a twice found source once", AIAction::webSearch(),
               ConversationKit::searchEvents({a, b, a}, {"A fox ", "jumps."}), "Searching the web…", "",
               HistoryStore::Kind::Search, 2);
        addRow("length limit keeps the answer", AIAction::translate(),
               RelayScenario::textEvents({"A fox ", "jumps."}, "max_tokens"), "Thinking…",
               "The answer hit the length limit and was cut off.", HistoryStore::Kind::Translate, 0);
    }

    void finishedTurnIsShownAnnouncedAndRecorded()
    {
        QFETCH(AIAction, action);
        QFETCH(QList<QJsonObject>, events);
        ConversationKit kit;
        kit.scenario.addStream(events);
        QVERIFY(kit.start());
        auto model = makeModel(kit, action);
        QList<std::optional<QString>> statusWithText;
        connect(model.get(), &ResultViewModel::turnsChanged, this, [&] {
            if (!model->latestAnswer().isEmpty())
                statusWithText.append(model->status());
        });
        model->run(std::nullopt);
        QTEST(model->statusText(), "openingStatus");
        QTRY_VERIFY(!model->isStreaming());

        QCOMPARE(statusWithText.first(), std::nullopt);
        QCOMPARE(model->latestAnswer(), QStringLiteral("A fox jumps."));
        QTEST(model->errorText(), "notice");
        QCOMPARE(kit.announcer.announcements, QStringList{action.title() + " answer ready"});
        const auto stored = kit.history->conversation(model->historyID());
        QTEST(stored->kind, "kind");
        QCOMPARE(stored->turns.size(), 1);
        QCOMPARE(stored->turns.first().answer, QStringLiteral("A fox jumps."));
        QTEST(int(stored->turns.first().sources.size()), "sources");
        QCOMPARE(ConversationKit::messageContents(kit.requestBodies().value(0)),
                 QStringList{action.firstUserMessage(selectedText)});
    }

    // The service fails twice in a row (the client's one retry waits 1.5 s on its clock).
    void failedFollowUpRetriesWithTheConversationIntact()
    {
        ConversationKit kit;
        kit.scenario.addStream(RelayScenario::textEvents({"First answer."}));
        kit.scenario.addError(503, "api_error", "Service Unavailable");
        kit.scenario.addError(503, "api_error", "Service Unavailable");
        kit.scenario.addStream(RelayScenario::textEvents({"Second answer."}));
        QVERIFY(kit.start());
        auto model = makeModel(kit, AIAction::explain());
        model->run(std::nullopt);
        QTRY_VERIFY(!model->isStreaming());
        model->setDraft(QStringLiteral("  Why?\n"));
        model->submitDraft();
        // Time moves on until the retry has gone out, whenever the first failure arrives.
        QTRY_VERIFY([&] {
            kit.platform.clock.advance(100);
            return kit.requestBodies().size() == 3;
        }());
        QTRY_VERIFY(!model->isStreaming());

        QCOMPARE(model->errorText(), QStringLiteral("Service Unavailable"));
        QCOMPARE(model->errorFix(), ErrorFix::Retry);
        QCOMPARE(model->turns().size(), 1);
        QCOMPARE(model->messages().size(), 2);

        model->retry();
        QCOMPARE(model->errorMessage(), std::nullopt);
        QTRY_VERIFY(!model->isStreaming());
        // The answer goes back as the content blocks it came in.
        const QStringList expected{AIAction::explain().firstUserMessage(selectedText),
                                   R"([{"text":"First answer.","type":"text"}])", "Why?"};
        QCOMPARE(ConversationKit::messageContents(kit.requestBodies().value(3)), expected);
        QCOMPARE(kit.history->conversations().size(), 1);
        QCOMPARE(kit.history->conversation(model->historyID())->turns.size(), 2);
    }

    void stopBeforeTextLeavesNothingAndRetryStartsAfresh()
    {
        ConversationKit kit;
        kit.scenario.addStream(RelayScenario::textEvents({"never shown"}), options(1));
        kit.scenario.addStream(RelayScenario::textEvents({"Fresh answer."}));
        QVERIFY(kit.start());
        auto model = makeModel(kit, AIAction::explain());
        model->run(std::nullopt);
        QTRY_COMPARE(kit.requestBodies().size(), 1);
        model->stop();

        QVERIFY(!model->isStreaming() && model->turns().isEmpty() && model->messages().isEmpty());
        QCOMPARE(model->errorMessage(), std::nullopt);
        QVERIFY(kit.announcer.announcements.isEmpty());
        model->retry();
        QTRY_COMPARE(model->latestAnswer(), QStringLiteral("Fresh answer."));
        QCOMPARE(ConversationKit::messageContents(kit.requestBodies().value(1)).size(), 1);
    }

    void failuresShowTheirMessageAndRemedy_data()
    {
        QTest::addColumn<AIAction>("action");
        QTest::addColumn<int>("status"); // 0: a refused stream
        QTest::addColumn<bool>("signedIn");
        QTest::addColumn<QString>("message");
        QTest::addColumn<ErrorFix>("fix");
        QTest::addColumn<int>("sessionsCleared");

        addRow("refusal during a rewrite drops the partial text", rewrite(RewriteStyle::Shorter), 0, true,
               "Claude declined this request.", ErrorFix::Retry, 0);
        addRow("expired session signs out locally", AIAction::explain(), 401, true,
               "Your session has ended. Sign in again.", ErrorFix::SignIn, 1);
        addRow("signed out sends nothing", AIAction::explain(), 200, false, "Sign in to use Halvora.", ErrorFix::SignIn,
               0);
    }

    void failuresShowTheirMessageAndRemedy()
    {
        QFETCH(AIAction, action);
        QFETCH(int, status);
        QFETCH(bool, signedIn);
        ConversationKit kit;
        if (status == 0)
            kit.scenario.addStream(RelayScenario::textEvents({"Partial ", "text"}, "refusal"));
        else
            kit.scenario.addError(status, "error", "");
        QVERIFY(kit.start());
        if (!signedIn)
            kit.account.current.reset();
        auto model = makeModel(kit, action);
        model->run(std::nullopt);
        QTRY_VERIFY(!model->isStreaming());

        QTEST(model->errorText(), "message");
        QTEST(model->errorFix(), "fix");
        QTEST(kit.account.sessionsCleared, "sessionsCleared");
        QVERIFY(model->turns().isEmpty() && model->messages().isEmpty());
        QCOMPARE(kit.announcer.announcements, QStringList{model->errorText()});
        QVERIFY(kit.history->conversations().isEmpty());
        QCOMPARE(kit.requestBodies().size(), signedIn ? 1 : 0);
    }

    void rewriteSwitchesKeepOneEntryWithTheLatestRewrite()
    {
        ConversationKit kit;
        for (const char* answer : {"Short.", "Casual!", "Simple."})
            kit.scenario.addStream(RelayScenario::textEvents({answer}));
        QVERIFY(kit.start());
        auto model = makeModel(kit, rewrite(RewriteStyle::Shorter));
        model->run(std::nullopt);
        QTRY_VERIFY(!model->isStreaming());
        for (const auto style : {RewriteStyle::Casual, RewriteStyle::Simplify}) {
            model->switchRewrite(rewrite(style));
            QTRY_VERIFY(!model->isStreaming());
        }
        QCOMPARE(kit.history->conversations().size(), 1);
        const HistoryStore::Conversation stored = kit.history->conversations().first();
        QCOMPARE(stored.id, model->historyID());
        QCOMPARE(stored.style, QStringLiteral("Simplify"));
        QCOMPARE(stored.turns.size(), 1);
        QCOMPARE(stored.turns.first().answer, QStringLiteral("Simple."));
    }

    // The superseded turn is provoked into every ending it can have right after the switch:
    // its remaining events and its completion are already on their way when the switch happens.
    void switchedRewriteIsNeverTouchedByTheSupersededTurn_data()
    {
        QTest::addColumn<QString>("stopReason");
        QTest::addColumn<RelayScenario::StreamOptions>("oldStream");

        addRow("superseded turn stalls", "end_turn", options(3));
        addRow("superseded turn finishes", "end_turn", options(-1));
        addRow("superseded turn breaks off", "end_turn", options(-1, 0, 4));
        addRow("superseded turn is refused", "refusal", options(-1));
    }

    void switchedRewriteIsNeverTouchedByTheSupersededTurn()
    {
        QFETCH(QString, stopReason);
        QFETCH(RelayScenario::StreamOptions, oldStream);
        ConversationKit kit;
        kit.scenario.addStream(RelayScenario::textEvents({"Old ", "text ", "more"}, stopReason), oldStream);
        kit.scenario.addStream(RelayScenario::textEvents({"New ", "casual ", "text"}), options(-1, 40));
        QVERIFY(kit.start());
        auto model = makeModel(kit, rewrite(RewriteStyle::Shorter));
        bool switched = false, switching = false;
        QList<bool> streamingChanges;
        QList<qsizetype> messagesWhileNewRuns;
        connect(model.get(), &ResultViewModel::isStreamingChanged, this,
                [&] { streamingChanges.append(model->isStreaming()); });
        connect(model.get(), &ResultViewModel::turnsChanged, this, [&] {
            if (!switched && model->latestAnswer().startsWith(QStringLiteral("Old"))) {
                switching = switched = true;
                model->switchRewrite(rewrite(RewriteStyle::Casual));
                switching = false;
            } else if (switched && !switching && model->isStreaming()) {
                messagesWhileNewRuns.append(model->messages().size());
            }
        });
        model->run(std::nullopt);
        QTRY_VERIFY(switched);
        QTRY_VERIFY(!model->isStreaming());

        QCOMPARE(streamingChanges, (QList<bool>{true, false}));
        QVERIFY(!messagesWhileNewRuns.isEmpty());
        QCOMPARE(messagesWhileNewRuns, QList<qsizetype>(messagesWhileNewRuns.size(), 1));
        QCOMPARE(model->turns().size(), 1);
        QCOMPARE(model->latestAnswer(), QStringLiteral("New casual text"));
        QCOMPARE(model->errorMessage(), std::nullopt);
        QCOMPARE(kit.announcer.announcements, QStringList{QStringLiteral("More casual answer ready")});
        QCOMPARE(kit.history->conversation(model->historyID())->style, QStringLiteral("More casual"));
    }

    void destroyedModelHearsNothingMore()
    {
        ConversationKit kit;
        kit.scenario.addStream(RelayScenario::textEvents({"One ", "two ", "three"}), options(-1, 30));
        kit.scenario.addStream(RelayScenario::textEvents({"Other."}), options(-1, 30));
        QVERIFY(kit.start());
        auto doomed = makeModel(kit, AIAction::explain());
        doomed->run(std::nullopt);
        QTRY_VERIFY(!doomed->latestAnswer().isEmpty());
        doomed.reset();
        auto other = makeModel(kit, AIAction::translate());
        other->run(std::nullopt);
        QTRY_VERIFY(!other->isStreaming());
        QCOMPARE(kit.announcer.announcements, QStringList{QStringLiteral("Translate answer ready")});
        QCOMPARE(kit.history->conversations().size(), 1);
    }

    void askWaitsForARealQuestion_data()
    {
        QTest::addColumn<QString>("draft");
        QTest::addColumn<QString>("sent"); // null: nothing is sent

        addRow("empty", "", QString());
        addRow("whitespace only", " \n\t ", QString());
        addRow("trimmed question", "  What is it?\n", "What is it?");
    }

    void askWaitsForARealQuestion()
    {
        QFETCH(QString, draft);
        QFETCH(QString, sent);
        ConversationKit kit;
        kit.scenario.addStream(RelayScenario::textEvents({"An answer."}));
        QVERIFY(kit.start());
        auto model = makeModel(kit, AIAction::ask());
        model->setDraft(draft);
        model->submitDraft();
        QCOMPARE(model->needsFirstQuestion(), sent.isNull());
        QCOMPARE(model->draft(), sent.isNull() ? draft : QString());
        if (sent.isNull())
            return;
        QTRY_VERIFY(!model->isStreaming());
        QCOMPARE(ConversationKit::messageContents(kit.requestBodies().value(0)),
                 QStringList{AIAction::ask().firstUserMessage(selectedText, sent)});
        QCOMPARE(kit.history->conversation(model->historyID())->title, sent);
    }

    void replaceWritesTheAnswerOverTheSelection_data()
    {
        QTest::addColumn<bool>("editable");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("whileStreaming");
        QTest::addColumn<QString>("written"); // null: nothing happens

        addRow("editable", true, "\n Better text. \n", false, "Better text.");
        addRow("not editable", false, "Better text.", false, QString());
        addRow("while streaming", true, "Better ", true, QString());
        addRow("blank answer", true, " \n ", false, QString());
    }

    void replaceWritesTheAnswerOverTheSelection()
    {
        QFETCH(bool, editable);
        QFETCH(QString, answer);
        QFETCH(bool, whileStreaming);
        QFETCH(QString, written);
        ConversationKit kit;
        kit.scenario.addStream(RelayScenario::textEvents({answer}), options(whileStreaming ? 3 : -1));
        QVERIFY(kit.start());
        kit.platform.workspace->launch(501, QStringLiteral("Editor"));
        kit.platform.workspace->launch(777, QStringLiteral("Other"));
        auto model = makeModel(kit, rewrite(RewriteStyle::Improve), editable);
        int closed = 0;
        connect(model.get(), &ResultViewModel::closeRequested, this, [&] { ++closed; });
        model->run(std::nullopt);
        QTRY_VERIFY(!model->latestAnswer().isEmpty() && model->isStreaming() == whileStreaming);
        model->replaceSelection();

        const bool replaced = !written.isNull();
        QCOMPARE(closed, replaced ? 1 : 0);
        QCOMPARE(kit.platform.workspace->activations, replaced ? QList<qint32>{501} : QList<qint32>{});
        QCOMPARE(kit.replacements.size(), replaced ? 1 : 0);
        if (replaced)
            QCOMPARE(kit.replacements.first().second, written);
    }

    void copyAndContinueInWindow()
    {
        ConversationKit kit;
        kit.scenario.addStream(RelayScenario::textEvents({"  Answer text\n"}));
        kit.scenario.addStream(RelayScenario::textEvents({"Partial "}), options(3));
        QVERIFY(kit.start());
        auto model = makeModel(kit, AIAction::explain());
        int closed = 0;
        connect(model.get(), &ResultViewModel::closeRequested, this, [&] { ++closed; });
        model->run(std::nullopt);
        QTRY_VERIFY(!model->isStreaming());
        model->copyLatest();
        QCOMPARE(kit.platform.clipboard->string(), QStringLiteral("Answer text"));

        model->setDraft(QStringLiteral("More?"));
        model->submitDraft();
        QTRY_COMPARE(model->latestAnswer(), QStringLiteral("Partial "));
        model->continueInWindow();
        QVERIFY(!model->isStreaming());
        QCOMPARE(closed, 1);
        QCOMPARE(kit.mainWindow.shown, (QList<QPair<QUuid, bool>>{{model->historyID(), false}}));
        QCOMPARE(kit.history->conversation(model->historyID())->turns.last().answer, QStringLiteral("Partial "));
    }
};

QTEST_GUILESS_MAIN(TestResultViewModel)
#include "tst_resultviewmodel.moc"
