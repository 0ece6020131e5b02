// The result panel driving a real conversation against the relay in scenario mode: streaming
// into the view, follow-ups, Stop and Escape, failures with Retry, and the announcements.
#include "conversation/ConversationKit.h"
#include "platform/MemoryPreferences.h"
#include "result/ResultFooter.h"
#include "result/ResultHeader.h"
#include "result/ResultPanelController.h"
#include "result/ResultView.h"
#include "result/ResultViewModel.h"
#include "result/TurnView.h"
#include "result/WindowAnnouncer.h"
#include "settings/WritingModeStore.h"
#include "ui/AccessibleAnnouncement.h"
#include "ui/FloatingPanel.h"
#include "ui/GrowingTextField.h"

#include <QApplication>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace {

Selection selection()
{
    return {QStringLiteral("The quick brown fox."), true, QRectF(100, 600, 200, 20), 501, QStringLiteral("Editor"), {}};
}

RelayScenario::StreamOptions paced(int delayMs, int stallAfter = -1)
{
    return {delayMs, -1, stallAfter};
}

} // namespace

class TestResultPanelFlow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_kit = std::make_unique<ConversationKit>();
        m_modes = std::make_unique<WritingModeStore>(m_preferences);
        m_announcer = std::make_unique<WindowAnnouncer>(
            [this] { return QList<QWidget*>{m_results ? m_results->panel() : nullptr}; });
    }
    void cleanup()
    {
        m_results.reset();
        m_kit.reset();
    }

    void explainStreamsIntoThePanelAndFollowsUp()
    {
        m_kit->scenario.addStream(RelayScenario::textEvents({"The fox ", "is quick."}), paced(30));
        m_kit->scenario.addStream(RelayScenario::textEvents({"Because it runs."}));
        start();
        m_results->show(AIAction::explain(), selection());
        ResultView* view = m_results->view();
        QVERIFY(view->statusLine()->isVisibleTo(view));
        QCOMPARE(view->data().status, QStringLiteral("Thinking…"));

        QTRY_VERIFY(!view->data().isStreaming);
        QVERIFY(!view->statusLine()->isVisibleTo(view));
        QCOMPARE(view->turnViews().size(), 1);
        QCOMPARE(view->data().turns.first().answer, QStringLiteral("The fox is quick."));
        QCOMPARE(m_kit->history->conversations().size(), 1);
        QCOMPARE(AccessibleAnnouncement::lastMessage(m_results->panel()), QStringLiteral("Explain answer ready"));

        GrowingTextField* followUp = view->footer()->followUpField();
        QVERIFY(followUp && followUp->isVisibleTo(view));
        followUp->setPlainText(QStringLiteral("Why?"));
        QTest::keyClick(followUp, Qt::Key_Return);
        QVERIFY(followUp->toPlainText().isEmpty());
        QTRY_COMPARE(view->turnViews().size(), 2);
        QTRY_VERIFY(!view->data().isStreaming);
        QCOMPARE(view->data().turns.last().question, QStringLiteral("Why?"));
        QCOMPARE(view->data().turns.last().answer, QStringLiteral("Because it runs."));
        QCOMPARE(m_kit->history->conversation(m_results->model()->historyID())->turns.size(), 2);
    }

    void interruptingTheTurn_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("staysOpen");
        QTest::newRow("Stop (Ctrl+.) removes the empty turn")
            << int(Qt::Key_Period) << int(Qt::ControlModifier) << true;
        QTest::newRow("Escape closes the panel and cancels") << int(Qt::Key_Escape) << int(Qt::NoModifier) << false;
    }
    void interruptingTheTurn()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        m_kit->scenario.addStream(RelayScenario::textEvents({"never shown"}), paced(0, 1));
        start();
        m_results->show(AIAction::explain(), selection());
        ResultView* view = m_results->view();
        QApplication::setActiveWindow(m_results->panel());
        QVERIFY(QTest::qWaitForWindowActive(m_results->panel()));
        QTRY_COMPARE(m_kit->requestBodies().size(), 1);

        QTest::keyClick(view, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        // A button's shortcut clicks it after a short press animation.
        QTRY_VERIFY(!m_results->model()->isStreaming());
        QTEST(m_results->panel()->isVisible(), "staysOpen");
        QVERIFY(m_results->model()->turns().isEmpty());
        QVERIFY(view->turnViews().isEmpty());
        QVERIFY(!view->statusLine()->isVisibleTo(view));
        QVERIFY(!view->errorLine()->isVisibleTo(view));
        QVERIFY(m_kit->history->conversations().isEmpty());
    }

    // A new result stops the one still streaming before it starts its own turn.
    void aNewResultStopsTheEarlierOne()
    {
        m_kit->scenario.addStream(RelayScenario::textEvents({"never shown"}), paced(0, 1));
        m_kit->scenario.addStream(RelayScenario::textEvents({"Translated."}));
        start();
        m_results->show(AIAction::explain(), selection());
        QTRY_COMPARE(m_kit->requestBodies().size(), 1);
        m_results->show(AIAction::translate(), selection());
        QTRY_COMPARE(m_results->view()->data().turns.value(0).answer, QStringLiteral("Translated."));
        QCOMPARE(m_kit->history->conversations().size(), 1);
        QCOMPARE(m_results->panel()->windowTitle(), AIAction::translate().title());
    }

    // The remedy beside an error does what it says: Retry runs the turn again, Sign In starts
    // the account's sign-in (after a rejected token the local sign-in is gone).
    void failureOffersItsRemedy_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("remedy");
        QTest::newRow("request refused: Retry") << 400 << "Retry";
        QTest::newRow("session ended: Sign In") << 401 << "Sign In";
    }
    void failureOffersItsRemedy()
    {
        QFETCH(int, status);
        QFETCH(QString, remedy);
        m_kit->scenario.addError(status, "invalid_request_error", "The request was not accepted.");
        m_kit->scenario.addStream(RelayScenario::textEvents({"Second time lucky."}));
        start();
        int signIns = 0;
        connect(m_results.get(), &ResultPanelController::signInRequested, this, [&signIns] { ++signIns; });
        m_results->show(AIAction::explain(), selection());
        ResultView* view = m_results->view();
        QTRY_VERIFY(view->errorLine()->isVisibleTo(view));
        QVERIFY(view->turnViews().isEmpty());
        QCOMPARE(view->remedyButton()->text(), remedy);
        QCOMPARE(AccessibleAnnouncement::lastMessage(m_results->panel()), m_results->model()->errorText());

        view->remedyButton()->click();
        if (status == 401) {
            QCOMPARE(signIns, 1);
            QCOMPARE(m_kit->account.sessionsCleared, 1);
            return;
        }
        QTRY_COMPARE(view->data().turns.value(0).answer, QStringLiteral("Second time lucky."));
        QVERIFY(!view->errorLine()->isVisibleTo(view));
    }

    // Ask waits for its question in a focused field; Return sends it with the selection. A
    // failed question leaves the field empty again, with Retry to ask it once more.
    void askSendsTheQuestionAndRetriesAFailure()
    {
        m_kit->scenario.addError(400, "invalid_request_error", "The request was not accepted.");
        m_kit->scenario.addStream(RelayScenario::textEvents({"Because."}));
        start();
        m_results->show(AIAction::ask(), selection());
        ResultView* view = m_results->view();
        QApplication::setActiveWindow(m_results->panel());
        QVERIFY(QTest::qWaitForWindowActive(m_results->panel()));
        QTRY_VERIFY(view->questionField()->hasFocus());
        QVERIFY(!view->statusLine()->isVisibleTo(view));
        QTest::keyClicks(view->questionField(), QStringLiteral("Why so quick?"));
        QTest::keyClick(view->questionField(), Qt::Key_Return);
        QVERIFY(!view->questionField()->isVisibleTo(view));
        QTRY_VERIFY(view->errorLine()->isVisibleTo(view));
        QVERIFY(view->questionField()->isVisibleTo(view));
        QCOMPARE(view->questionField()->toPlainText(), QString());
        const QString asked = AIAction::ask().firstUserMessage(selection().text, QStringLiteral("Why so quick?"));
        QCOMPARE(ConversationKit::messageContents(m_kit->requestBodies().value(0)), QStringList{asked});

        view->remedyButton()->click();
        QTRY_COMPARE(view->data().turns.value(0).answer, QStringLiteral("Because."));
        QCOMPARE(view->data().turns.value(0).question, QStringLiteral("Why so quick?"));
        QCOMPARE(ConversationKit::messageContents(m_kit->requestBodies().value(1)), QStringList{asked});
        QVERIFY(!view->questionField()->isVisibleTo(view));
    }

    void switchingTheRewriteStyleRelabelsTheHeader()
    {
        m_kit->scenario.addStream(RelayScenario::textEvents({"Short."}));
        m_kit->scenario.addStream(RelayScenario::textEvents({"Casual."}));
        start();
        m_results->show(AIAction::rewrite(RewriteStyle(RewriteStyle::Shorter)), selection());
        QTRY_VERIFY(!m_results->view()->data().isStreaming);
        const AIAction casual = AIAction::rewrite(RewriteStyle(RewriteStyle::Casual));
        QAction* choice = nullptr;
        for (QAction* item : m_results->view()->header()->styleMenuButton()->menu()->actions())
            choice = item->text() == casual.title() ? item : choice;
        QVERIFY(choice);
        choice->trigger();
        QTRY_COMPARE(m_results->view()->data().turns.value(0).answer, QStringLiteral("Casual."));
        QCOMPARE(m_results->view()->header()->styleMenuButton()->text(), casual.title());
    }

private:
    void start()
    {
        QVERIFY(m_kit->start());
        ConversationServices services = m_kit->services();
        services.announcer = m_announcer.get();
        m_results = std::make_unique<ResultPanelController>(m_kit->platform.clock, m_preferences, *m_modes, services);
    }

    MemoryPreferences m_preferences;
    std::unique_ptr<ConversationKit> m_kit;
    std::unique_ptr<WritingModeStore> m_modes;
    std::unique_ptr<WindowAnnouncer> m_announcer;
    std::unique_ptr<ResultPanelController> m_results;
};

QTEST_MAIN(TestResultPanelFlow)
#include "tst_resultpanelflow.moc"
