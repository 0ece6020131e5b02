// The result flow against the relay in scenario mode: streaming, follow-ups, stops, failures,
// rewrite switches, history records and the copy/replace/hand-over actions.
#include "result/ConversationKit.h"
#include "result/ResultViewModel.h"

#include <QJsonArray>
#include <QSignalSpy>
#include <QTest>

namespace {

const QString selectedText = QStringLiteral("The quick brown fox.");

Selection makeSelection(bool editable = true)
{
    Selection selection;
    selection.text = selectedText;
    selection.isEditable = editable;
    selection.pid = 501;
    selection.appName = QStringLiteral("Editor");
    return selection;
}

std::unique_ptr<ResultViewModel> makeModel(ConversationKit& kit, const AIAction& action, bool editable = true)
{
    return std::make_unique<ResultViewModel>(makeSelection(editable), action, kit.services());
}

AIAction rewrite(RewriteStyle::Case style)
{
    return AIAction::rewrite(RewriteStyle(style));
}

RelayScenario::StreamOptions stalledAfter(int events)
{
    RelayScenario::StreamOptions options;
    options.stallAfter = events;
    return options;
}

} // namespace

class TestResultViewModel : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void explainStreamsAndIsRecorded()
    {
        ConversationKit kit;
        kit.scenario.addStream(RelayScenario::textEvents({"A fox ", "jumps."}));
        QVERIFY(kit.start());
        auto model = makeModel(kit, AIAction::explain());
        QList<std::optional<QString>> statusWhenTextChanged;
        connect(model.get(), &ResultViewModel::turnsChanged, this, [&] {
            if (!model->latestAnswer().isEmpty())
                statusWhenTextChanged.append(model->status());
        });
        model->run(std::nullopt);
        QCOMPARE(model->status(), QStringLiteral("Thinking…"));
        QVERIFY(model->isStreaming());
        QTRY_VERIFY(!model->isStreaming());

        QCOMPARE(statusWhenTextChanged.first(), std::nullopt);
        QCOMPARE(model->latestAnswer(), QStringLiteral("A fox jumps."));
        QCOMPARE(model->errorMessage(), std::nullopt);
        QVERIFY(model->canFollowUp());
        QCOMPARE(kit.announcer.announcements, QStringList{QStringLiteral("Explain answer ready")});
        const auto stored = kit.history->conversation(model->historyID());
        QVERIFY(stored);
        QCOMPARE(stored->kind, HistoryStore::Kind::explain);
        QCOMPARE(stored->turns.size(), 1);
        QCOMPARE(stored->turns.first().answer, QStringLiteral("A fox jumps."));
        QCOMPARE(stored->title, selectedText);
        QCOMPARE(stored->style, std::nullopt);
        QCOMPARE(stored->appName, QStringLiteral("Editor"));
        const QJsonObject body = kit.requestBodies().value(0);
        QCOMPARE(body.value("system").toString(), AIAction::explain().systemPrompt());
        QCOMPARE(ConversationKit::messageContents(body), QStringList{AIAction::explain().firstUserMessage(selectedText)});
    }

    void webSearchListsEachSourceOnce()
    {
        ConversationKit kit;
        const WebSource a = ConversationKit::source(1), b = ConversationKit::source(2);
        kit.scenario.addStream(ConversationKit::searchEvents({a, b, a}, {"Found ", "it."}, {b, b}));
        QVERIFY(kit.start());
        auto model = makeModel(kit, AIAction::webSearch());
        model->run(std::nullopt);
        QCOMPARE(model->status(), QStringLiteral("Searching the web…"));
        QTRY_VERIFY(!model->isStreaming());

        const ResultViewModel::Turn turn = model->turns().value(0);
        QCOMPARE(turn.foundSources, (QList<WebSource>{a, b}));
        QCOMPARE(turn.citedSources, QList<WebSource>{b});
        QCOMPARE(turn.sources(), QList<WebSource>{b});
        const auto stored = kit.history->conversation(model->historyID());
        QCOMPARE(stored->kind, HistoryStore::Kind::search);
        QCOMPARE(stored->turns.first().sources, (QList<HistoryStore::Source>{{b.title, b.url}}));
    }

    void followUpSendsTheConversationAndUpdatesTheEntry()
    {
        ConversationKit kit;
        kit.scenario.addStream(RelayScenario::textEvents({"First answer."}));
        kit.scenario.addStream(RelayScenario::textEvents({"Second answer."}));
        QVERIFY(kit.start());
        auto model = makeModel(kit, AIAction::explain());
        model->run(std::nullopt);
        QTRY_VERIFY(!model->isStreaming());
        model->setDraft(QStringLiteral("  Why?\n"));
        model->submitDraft();
        QCOMPARE(model->draft(), QString());
        QTRY_VERIFY(!model->isStreaming());

        const QJsonObject second = kit.requestBodies().value(1);
        QCOMPARE(ConversationKit::messageContents(second).size(), 3);
        QCOMPARE(ConversationKit::messageContents(second).first(), AIAction::explain().firstUserMessage(selectedText));
        QCOMPARE(ConversationKit::messageContents(second).last(), QStringLiteral("Why?"));
        QCOMPARE(second.value("messages").toArray().at(1).toObject().value("role").toString(), QStringLiteral("assistant"));
        QCOMPARE(kit.history->conversations().size(), 1);
        const auto stored = kit.history->conversation(model->historyID());
        QCOMPARE(stored->turns.size(), 2);
        QCOMPARE(stored->turns.last().question, QStringLiteral("Why?"));
    }

    void stopBeforeTextLeavesNothingAndRetryStartsAfresh()
    {
        ConversationKit kit;
        kit.scenario.addStream(RelayScenario::textEvents({"never shown"}), stalledAfter(1));
        kit.scenario.addStream(RelayScenario::textEvents({"Fresh answer."}));
        QVERIFY(kit.start());
        auto model = makeModel(kit, AIAction::explain());
        model->run(std::nullopt);
        QTRY_COMPARE(kit.requestBodies().size(), 1);
        model->stop();

        QVERIFY(!model->isStreaming());
        QVERIFY(model->turns().isEmpty());
        QVERIFY(model->messages().isEmpty());
        QCOMPARE(model->errorMessage(), std::nullopt);
        QCOMPARE(model->status(), std::nullopt);
        QVERIFY(kit.announcer.announcements.isEmpty());

        model->retry();
        QTRY_VERIFY(!model->isStreaming());
        QCOMPARE(model->turns().size(), 1);
        QCOMPARE(model->latestAnswer(), QStringLiteral("Fresh answer."));
        QCOMPARE(ConversationKit::messageContents(kit.requestBodies().value(1)).size(), 1);
    }

    // The service fails twice in a row: the client waits 1.5 s on its clock before its one retry.
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
        model->setDraft(QStringLiteral("Why?"));
        model->submitDraft();
        QTRY_COMPARE(kit.requestBodies().size(), 2);
        kit.platform.clock.advance(1500);
        QTRY_VERIFY(!model->isStreaming());

        QCOMPARE(model->errorText(), QStringLiteral("Service Unavailable"));
        QCOMPARE(model->errorFix(), ErrorFix::Retry);
        QCOMPARE(model->turns().size(), 1);
        QCOMPARE(model->messages().size(), 2);
        QCOMPARE(kit.announcer.announcements.last(), *model->errorMessage());
        QCOMPARE(kit.history->conversation(model->historyID())->turns.size(), 1);

        model->retry();
        QCOMPARE(model->errorMessage(), std::nullopt);
        QTRY_VERIFY(!model->isStreaming());
        QCOMPARE(ConversationKit::messageContents(kit.requestBodies().value(3)),
                 ConversationKit::messageContents(kit.requestBodies().value(1)));
        QCOMPARE(model->turns().size(), 2);
        QCOMPARE(model->latestAnswer(), QStringLiteral("Second answer."));
    }

    void failuresShowTheirMessageAndRemedy_data()
    {
        QTest::addColumn<AIAction>("action");
        QTest::addColumn<int>("status");      // 0: a stream
        QTest::addColumn<QString>("stop");    // its stop reason
        QTest::addColumn<bool>("signedIn");
        QTest::addColumn<QString>("message");
        QTest::addColumn<ErrorFix>("fix");
        QTest::addColumn<int>("sessionsCleared");
        QTest::addColumn<int>("turnsLeft");

        QTest::newRow("refusal during a rewrite drops the partial text")
            << rewrite(RewriteStyle::shorter) << 0 << "refusal" << true << "Claude declined this request."
            << ErrorFix::Retry << 0 << 0;
        QTest::newRow("expired session signs out locally") << AIAction::explain() << 401 << "" << true
                                                           << "Your session has ended. Sign in again."
                                                           << ErrorFix::SignIn << 1 << 0;
        QTest::newRow("signed out sends nothing") << AIAction::explain() << 200 << "" << false
                                                  << "Sign in to use Halvora." << ErrorFix::SignIn << 0 << 0;
        QTest::newRow("service message for a bad request") << AIAction::translate() << 400 << "" << true
                                                           << "Bad input" << ErrorFix::Retry << 0 << 0;
    }

    void failuresShowTheirMessageAndRemedy()
    {
        QFETCH(AIAction, action);
        QFETCH(int, status);
        QFETCH(QString, stop);
        QFETCH(bool, signedIn);
        ConversationKit kit;
        if (status == 0)
            kit.scenario.addStream(RelayScenario::textEvents({"Partial ", "text"}, stop));
        else
            kit.scenario.addError(status, "error", status == 400 ? "Bad input" : "");
        QVERIFY(kit.start());
        if (!signedIn)
            kit.account.current.reset();
        auto model = makeModel(kit, action);
        model->run(std::nullopt);
        QTRY_VERIFY(!model->isStreaming());

        QTEST(model->errorText(), "message");
        QTEST(model->errorFix(), "fix");
        QTEST(kit.account.sessionsCleared, "sessionsCleared");
        QTEST(int(model->turns().size()), "turnsLeft");
        QVERIFY(model->messages().isEmpty());
        QCOMPARE(kit.announcer.announcements, QStringList{model->errorText()});
        QVERIFY(kit.history->conversations().isEmpty());
        QCOMPARE(kit.requestBodies().size(), signedIn ? 1 : 0);
    }

    void lengthLimitKeepsTheAnswer()
    {
        ConversationKit kit;
        kit.scenario.addStream(RelayScenario::textEvents({"Long ", "answer"}, "max_tokens"));
        QVERIFY(kit.start());
        auto model = makeModel(kit, AIAction::explain());
        model->run(std::nullopt);
        QTRY_VERIFY(!model->isStreaming());
        QCOMPARE(model->latestAnswer(), QStringLiteral("Long answer"));
        QCOMPARE(model->errorText(), QStringLiteral("The answer hit the length limit and was cut off."));
        QCOMPARE(kit.history->conversation(model->historyID())->turns.first().answer, QStringLiteral("Long answer"));
    }

    void rewriteSwitchesKeepOneEntryWithTheLatestRewrite()
    {
        ConversationKit kit;
        kit.scenario.addStream(RelayScenario::textEvents({"Short."}));
        kit.scenario.addStream(RelayScenario::textEvents({"Casual!"}));
        kit.scenario.addStream(RelayScenario::textEvents({"Simple."}));
        QVERIFY(kit.start());
        auto model = makeModel(kit, rewrite(RewriteStyle::shorter));
        model->run(std::nullopt);
        QCOMPARE(model->status(), QStringLiteral("Rewriting…"));
        QTRY_VERIFY(!model->isStreaming());
        for (const auto style : {RewriteStyle::casual, RewriteStyle::simplify}) {
            model->switchRewrite(rewrite(style));
            QTRY_VERIFY(!model->isStreaming());
        }
        QCOMPARE(model->turns().size(), 1);
        QCOMPARE(kit.history->conversations().size(), 1);
        const HistoryStore::Conversation stored = kit.history->conversations().first();
        QCOMPARE(stored.id, model->historyID());
        QCOMPARE(stored.kind, HistoryStore::Kind::rewrite);
        QCOMPARE(stored.style, RewriteStyle(RewriteStyle::simplify).title());
        QCOMPARE(stored.turns.size(), 1);
        QCOMPARE(stored.turns.first().answer, QStringLiteral("Simple."));
        QCOMPARE(ConversationKit::messageContents(kit.requestBodies().value(2)).size(), 1);
    }

    // The superseded turn is provoked into every ending it can have right after the switch:
    // its remaining events and completion are already on their way when the switch happens.
    void switchedRewriteIsNeverTouchedByTheSupersededTurn_data()
    {
        QTest::addColumn<int>("oldEnding"); // 0 stalls, 1 finishes, 2 breaks off, 3 refuses

        QTest::newRow("superseded turn stalls") << 0;
        QTest::newRow("superseded turn finishes") << 1;
        QTest::newRow("superseded turn breaks off") << 2;
        QTest::newRow("superseded turn is refused") << 3;
    }

    void switchedRewriteIsNeverTouchedByTheSupersededTurn()
    {
        QFETCH(int, oldEnding);
        ConversationKit kit;
        const QList<QJsonObject> old = RelayScenario::textEvents({"Old ", "text ", "more"},
                                                                 oldEnding == 3 ? "refusal" : "end_turn");
        RelayScenario::StreamOptions options;
        options.stallAfter = oldEnding == 0 ? 3 : -1;
        options.cutAfter = oldEnding == 2 ? 4 : -1;
        kit.scenario.addStream(old, options);
        RelayScenario::StreamOptions paced;
        paced.delayMs = 40;
        kit.scenario.addStream(RelayScenario::textEvents({"New ", "casual ", "text"}), paced);
        QVERIFY(kit.start());
        auto model = makeModel(kit, rewrite(RewriteStyle::shorter));

        bool switched = false;
        bool switching = false;
        QList<bool> streamingChanges;
        QList<qsizetype> messagesWhileNewRuns;
        connect(model.get(), &ResultViewModel::isStreamingChanged, this,
                [&] { streamingChanges.append(model->isStreaming()); });
        connect(model.get(), &ResultViewModel::turnsChanged, this, [&] {
            if (!switched && model->latestAnswer().startsWith(QStringLiteral("Old"))) {
                switching = switched = true;
                model->switchRewrite(rewrite(RewriteStyle::casual));
                switching = false;
            } else if (switched && !switching && model->isStreaming()) {
                messagesWhileNewRuns.append(model->messages().size());
            }
        });
        model->run(std::nullopt);
        QTRY_VERIFY(switched);
        QTRY_VERIFY_WITH_TIMEOUT(!model->isStreaming(), 10000);

        QCOMPARE(streamingChanges, (QList<bool>{true, false}));
        QVERIFY(!messagesWhileNewRuns.isEmpty());
        for (qsizetype count : messagesWhileNewRuns)
            QCOMPARE(count, 1);
        QCOMPARE(model->turns().size(), 1);
        QCOMPARE(model->latestAnswer(), QStringLiteral("New casual text"));
        QCOMPARE(model->messages().size(), 2);
        QCOMPARE(model->errorMessage(), std::nullopt);
        QCOMPARE(kit.announcer.announcements, QStringList{QStringLiteral("More casual answer ready")});
        const auto stored = kit.history->conversation(model->historyID());
        QCOMPARE(stored->style, QStringLiteral("More casual"));
        QCOMPARE(stored->turns.first().answer, QStringLiteral("New casual text"));
    }

    void destroyedModelHearsNothingMore()
    {
        ConversationKit kit;
        RelayScenario::StreamOptions paced;
        paced.delayMs = 30;
        kit.scenario.addStream(RelayScenario::textEvents({"One ", "two ", "three"}), paced);
        kit.scenario.addStream(RelayScenario::textEvents({"Other."}), paced);
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

        QTest::newRow("empty") << "" << QString();
        QTest::newRow("whitespace only") << " \n\t " << QString();
        QTest::newRow("trimmed question") << "  What is it?\n" << "What is it?";
    }

    void askWaitsForARealQuestion()
    {
        QFETCH(QString, draft);
        QFETCH(QString, sent);
        ConversationKit kit;
        kit.scenario.addStream(RelayScenario::textEvents({"An answer."}));
        QVERIFY(kit.start());
        auto model = makeModel(kit, AIAction::ask());
        QVERIFY(model->needsFirstQuestion());
        model->setDraft(draft);
        model->submitDraft();
        if (sent.isNull()) {
            QVERIFY(!model->isStreaming());
            QVERIFY(model->needsFirstQuestion());
            QCOMPARE(model->draft(), draft);
            return;
        }
        QVERIFY(!model->needsFirstQuestion());
        QTRY_VERIFY(!model->isStreaming());
        QCOMPARE(ConversationKit::messageContents(kit.requestBodies().value(0)),
                 QStringList{AIAction::ask().firstUserMessage(selectedText, sent)});
        QCOMPARE(kit.history->conversation(model->historyID())->title, sent);
        QVERIFY(kit.requestBodies().size() == 1);
    }

    void replaceWritesTheAnswerOverTheSelection_data()
    {
        QTest::addColumn<bool>("editable");
        QTest::addColumn<QStringList>("pieces");
        QTest::addColumn<bool>("whileStreaming");
        QTest::addColumn<QString>("written"); // null: nothing happens

        QTest::newRow("editable") << true << QStringList{"\n Better text. \n"} << false << "Better text.";
        QTest::newRow("not editable") << false << QStringList{"Better text."} << false << QString();
        QTest::newRow("while streaming") << true << QStringList{"Better "} << true << QString();
        QTest::newRow("blank answer") << true << QStringList{" \n "} << false << QString();
    }

    void replaceWritesTheAnswerOverTheSelection()
    {
        QFETCH(bool, editable);
        QFETCH(QStringList, pieces);
        QFETCH(bool, whileStreaming);
        QFETCH(QString, written);
        ConversationKit kit;
        kit.scenario.addStream(RelayScenario::textEvents(pieces), stalledAfter(whileStreaming ? 3 : -1));
        QVERIFY(kit.start());
        kit.platform.workspace->launch(501, QStringLiteral("Editor"));
        kit.platform.workspace->launch(777, QStringLiteral("Other"));
        auto model = makeModel(kit, rewrite(RewriteStyle::improve), editable);
        int closed = 0;
        model->setOnClose([&] { ++closed; });
        model->run(std::nullopt);
        if (whileStreaming)
            QTRY_VERIFY(!model->latestAnswer().isEmpty());
        else
            QTRY_VERIFY(!model->isStreaming());
        model->replaceSelection();

        if (written.isNull()) {
            QVERIFY(kit.replacements.isEmpty());
            QCOMPARE(closed, 0);
            QVERIFY(kit.platform.workspace->activations.isEmpty());
            return;
        }
        QCOMPARE(closed, 1);
        QCOMPARE(kit.platform.workspace->activations, QList<qint32>{501});
        QCOMPARE(kit.replacements.size(), 1);
        QCOMPARE(kit.replacements.first().second, written);
        QCOMPARE(kit.replacements.first().first.text, selectedText);
    }

    void copyAndContinueInWindow()
    {
        ConversationKit kit;
        kit.scenario.addStream(RelayScenario::textEvents({"  Answer text\n"}));
        kit.scenario.addStream(RelayScenario::textEvents({"Partial "}), stalledAfter(3));
        QVERIFY(kit.start());
        auto model = makeModel(kit, AIAction::explain());
        int closed = 0;
        model->setOnClose([&] { ++closed; });
        model->run(std::nullopt);
        QTRY_VERIFY(!model->isStreaming());
        model->copyLatest();
        QCOMPARE(kit.platform.pasteboard->string(), QStringLiteral("Answer text"));

        model->setDraft(QStringLiteral("More?"));
        model->submitDraft();
        QTRY_COMPARE(model->latestAnswer(), QStringLiteral("Partial "));
        model->continueInWindow();
        QVERIFY(!model->isStreaming());
        QCOMPARE(model->errorMessage(), std::nullopt);
        QCOMPARE(closed, 1);
        QCOMPARE(kit.mainWindow.shown, (QList<QPair<QUuid, bool>>{{model->historyID(), false}}));
        const auto stored = kit.history->conversation(model->historyID());
        QCOMPARE(stored->turns.size(), 2);
        QCOMPARE(stored->turns.last().answer, QStringLiteral("Partial "));
    }
};

QTEST_GUILESS_MAIN(TestResultViewModel)
#include "tst_resultviewmodel.moc"
