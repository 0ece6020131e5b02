#include "platform/MemoryPreferences.h"
#include "platform/fake/FakePlatform.h"
#include "result/CopyAnswerButton.h"
#include "result/ResultFooter.h"
#include "result/ResultHeader.h"
#include "result/ResultPanelController.h"
#include "result/ResultPanelSize.h"
#include "result/ResultView.h"
#include "result/ResultViewModel.h"
#include "result/TurnView.h"
#include "settings/WritingModeStore.h"
#include "support/ReadableImages.h"
#include "ui/FloatingPanel.h"
#include "ui/GrowingTextField.h"
#include "ui/MarkdownView.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>

namespace {

// Conversations whose turns never get an answer: these tests set what the view shows themselves.
ConversationServices unansweredServices(Clock& clock)
{
    ConversationServices services;
    services.clock = &clock;
    services.streamTurn = [](auto&&...) { return TaskHandle(); };
    return services;
}

Selection selection(bool editable = true, std::optional<QRectF> rect = QRectF(100, 280, 200, 20))
{
    Selection result;
    result.text = QStringLiteral("brown fox");
    result.isEditable = editable;
    result.rect = rect;
    result.pid = 501;
    result.appName = QStringLiteral("Editor");
    return result;
}

// The footer's buttons by their texts, in order; "field" for the follow-up field.
QStringList footerOf(const ResultFooter& footer)
{
    QStringList shown;
    if (footer.followUpField())
        shown.append(QStringLiteral("field"));
    for (const QPushButton* button : footer.findChildren<QPushButton*>())
        shown.append(button->text());
    return shown;
}

} // namespace

class TestResultPanel : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_platform = std::make_unique<FakePlatform>();
        m_modes = std::make_unique<WritingModeStore>(m_preferences);
        m_results = std::make_unique<ResultPanelController>(m_platform->clock, m_preferences, *m_modes,
                                                            unansweredServices(m_platform->clock));
    }
    void cleanup()
    {
        m_results.reset();
        m_platform.reset();
        m_preferences.remove(ResultPanelSize::key());
    }

    void opensBelowTheSelectionAtTheDefaultSize()
    {
        m_results->show(AIAction::explain(), selection());
        FloatingPanel* panel = m_results->panel();
        QVERIFY(panel->isVisible());
        QCOMPARE(panel->geometry(), QRect(100, 300 + 12, 440, 480));
        QVERIFY(panel->takesFocus());
        QCOMPARE(panel->accessibleName(), QStringLiteral("Halvora result"));
    }

    // The size is remembered when the panel closes and used by the next result, through the
    // close button, Escape or close() alike.
    void remembersItsSize_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("close()") << "close";
        QTest::newRow("Escape") << "escape";
    }
    void remembersItsSize()
    {
        QFETCH(QString, how);
        m_results->show(AIAction::explain(), selection());
        m_results->panel()->resize(600, 500);
        if (how == "escape")
            QTest::keyClick(m_results->view(), Qt::Key_Escape);
        else
            m_results->close();
        QVERIFY(!m_results->panel()->isVisible());
        QCOMPARE(m_preferences.value(ResultPanelSize::key()).toString(), QStringLiteral("{600, 500}"));
        m_results->show(AIAction::research(), selection());
        QCOMPARE(m_results->panel()->size(), QSize(600, 500));
    }

    // A closed panel goes once control is back in the event loop, its conversation stopped but
    // kept; the next result gets a panel of its own, also when it comes before the old one went.
    void aClosedPanelIsTakenApart_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("nextAtOnce");
        QTest::newRow("close(), next result later") << "close" << false;
        QTest::newRow("Escape, next result later") << "escape" << false;
        QTest::newRow("close(), next result at once") << "close" << true;
    }
    void aClosedPanelIsTakenApart()
    {
        QFETCH(QString, how);
        QFETCH(bool, nextAtOnce);
        m_results->show(AIAction::explain(), selection());
        QVERIFY(m_results->model()->isStreaming());
        const QPointer<FloatingPanel> first = m_results->panel();
        const QPointer<ResultView> firstView = m_results->view();
        first->resize(600, 500);
        if (how == "escape")
            QTest::keyClick(firstView, Qt::Key_Escape);
        else
            m_results->close();
        if (!nextAtOnce) {
            QTRY_VERIFY(!first);
            QVERIFY(!firstView && !m_results->panel() && !m_results->view());
            QVERIFY(!m_results->model()->isStreaming());
            QCOMPARE(m_results->model()->action(), AIAction::explain());
        }
        m_results->show(AIAction::research(), selection());
        const QPointer<FloatingPanel> next = m_results->panel();
        QVERIFY(next != first);
        QTRY_VERIFY(!first);
        QVERIFY(next && next->isVisible());
        QCOMPARE(next->size(), QSize(600, 500));
        QCOMPARE(m_results->view()->data().action, AIAction::research());
    }

    void smallStoredSizeFallsBack()
    {
        m_preferences.setValue(ResultPanelSize::key(), QStringLiteral("{300, 500}"));
        m_results->show(AIAction::explain(), selection());
        QCOMPARE(m_results->panel()->size(), QSize(440, 480));
    }

    void footers_data()
    {
        QTest::addColumn<AIAction>("action");
        QTest::addColumn<bool>("editable");
        QTest::addColumn<QStringList>("footer");
        const AIAction rewrite = AIAction::rewrite(RewriteStyle::Shorter);
        QTest::newRow("rewrite, editable") << rewrite << true << QStringList{"Try again", "Copy", "Replace"};
        QTest::newRow("rewrite, read-only") << rewrite << false << QStringList{"Try again", "Copy"};
        QTest::newRow("explain, editable") << AIAction::explain() << true << QStringList{"field", "Copy", "Paste"};
        QTest::newRow("explain, read-only") << AIAction::explain() << false << QStringList{"field", "Copy"};
    }
    void footers()
    {
        QFETCH(AIAction, action);
        QFETCH(bool, editable);
        m_results->show(action, selection(editable));
        QTEST(footerOf(*m_results->view()->footer()), "footer");
    }

    // While the model works, nothing that needs a finished answer can be pressed.
    void streamingDisablesTheCommands_data()
    {
        QTest::addColumn<bool>("streaming");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("replaceEnabled");
        QTest::newRow("streaming") << true << "Short." << false;
        QTest::newRow("finished") << false << "Short." << true;
        QTest::newRow("finished empty") << false << "  \n" << false;
    }
    void streamingDisablesTheCommands()
    {
        QFETCH(bool, streaming);
        QFETCH(QString, answer);
        m_results->show(AIAction::rewrite(RewriteStyle::Shorter), selection());
        ResultViewData data = m_results->view()->data();
        data.isStreaming = streaming;
        data.status = QStringLiteral("Rewriting…");
        data.turns = {{QString(), answer, {}}};
        m_results->view()->setData(data);
        const ResultFooter* footer = m_results->view()->footer();
        QTEST(footer->replaceButton()->isEnabled(), "replaceEnabled");
        QCOMPARE(footer->retryButton()->isEnabled(), !streaming);
        QCOMPARE(m_results->view()->statusLine()->isVisibleTo(m_results->view()), streaming);
    }

    // The footer's keyboard commands, pressed twice: changing a button's text (Copy shows
    // "Copied") must not lose its shortcut.
    void footerShortcuts_data()
    {
        QTest::addColumn<AIAction>("action");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("command");
        const AIAction shorter = AIAction::rewrite(RewriteStyle::Shorter);
        const int ctrl = Qt::ControlModifier;
        QTest::newRow("rewrite: Replace") << shorter << ctrl << int(Qt::Key_Return) << "replace";
        QTest::newRow("explain: Paste") << AIAction::explain() << ctrl << int(Qt::Key_Return) << "replace";
        QTest::newRow("rewrite: Copy") << shorter << int(ctrl | Qt::ShiftModifier) << int(Qt::Key_C) << "copy";
        QTest::newRow("explain: Copy") << AIAction::explain() << int(ctrl | Qt::ShiftModifier) << int(Qt::Key_C)
                                       << "copy";
    }
    void footerShortcuts()
    {
        QFETCH(AIAction, action);
        QFETCH(int, modifiers);
        QFETCH(int, key);
        QFETCH(QString, command);
        QStringList pressed;
        ResultViewData data;
        data.action = action;
        data.isEditable = true;
        data.canFollowUp = true;
        data.turns = {{QString(), QStringLiteral("Short."), {}}};
        FloatingPanel panel(QSize(440, 480), true, true);
        auto* view = new ResultView(data, m_platform->clock, *m_modes);
        connect(view, &ResultView::replaceRequested, view, [&pressed] { pressed.append(QStringLiteral("replace")); });
        connect(view, &ResultView::copyRequested, view, [&pressed] { pressed.append(QStringLiteral("copy")); });
        panel.setContentWidget(view);
        if (view->footer()->followUpField())
            view->footer()->followUpField()->setFocus();
        panel.show();
        QApplication::setActiveWindow(&panel);
        // A shortcut presses its button visibly: the click comes a moment later.
        for (int press = 1; press <= 2; ++press) {
            QTest::keyClick(&panel, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
            QTRY_COMPARE(pressed.size(), press);
        }
        QCOMPARE(pressed, QStringList({command, command}));
    }

    // A title with an ampersand is shown as written: it marks no keyboard shortcut.
    void headerShowsAmpersandsAsWritten_data()
    {
        QTest::addColumn<AIAction>("action");
        QTest::newRow("built-in style") << AIAction::rewrite(RewriteStyle::Grammar);
        QTest::newRow("writing mode") << AIAction::custom(WritingMode{QUuid::createUuid(), "R&D notes", "Terse."});
    }
    void headerShowsAmpersandsAsWritten()
    {
        QFETCH(AIAction, action);
        m_results->show(action, selection());
        const QToolButton* style = m_results->view()->header()->styleMenuButton();
        QVERIFY(action.title().contains(QLatin1Char('&')));
        QCOMPARE(QKeySequence::mnemonic(style->text()), QKeySequence());
        QCOMPARE(style->accessibleName(), QStringLiteral("Rewrite style: ") + action.title());
    }

    void copyFeedbackLastsOneAndAHalfSeconds()
    {
        int copies = 0;
        CopyAnswerButton copy(m_platform->clock);
        connect(&copy, &CopyAnswerButton::copyRequested, &copy, [&copies] { ++copies; });
        copy.click();
        QCOMPARE(copy.text(), QStringLiteral("Copied"));
        m_platform->clock.advance(1000);
        copy.click();
        m_platform->clock.advance(1499);
        QVERIFY(copy.isCopied());
        m_platform->clock.advance(1);
        QCOMPARE(copy.text(), QStringLiteral("Copy"));
        QCOMPARE(copies, 2);
    }

    void turnsShowQuestionsAnswersAndSources()
    {
        m_results->show(AIAction::research(), selection());
        ResultViewData data = m_results->view()->data();
        data.turns = {{QString(), QStringLiteral("# Answer\nText"), {{"Example", QUrl("https://example.com")}}},
                      {QStringLiteral("And then?"), QStringLiteral("More"), {}}};
        m_results->view()->setData(data);
        const QList<TurnView*> turns = m_results->view()->turnViews();
        QCOMPARE(turns.size(), 2);
        QVERIFY(turns[0]->sourcesBox()->isVisibleTo(turns[0]));
        QVERIFY(!turns[1]->sourcesBox()->isVisibleTo(turns[1]));
        QCOMPARE(turns[1]->questionLabel()->accessibleName(), QStringLiteral("You asked: And then?"));
        QCOMPARE(turns[0]->sourcesBox()->findChildren<QLabel*>().last()->accessibleName(),
                 QStringLiteral("Source 1: Example"));
        turns[1]->markdownView()->flush();
        QCOMPARE(turns[1]->markdownView()->blocks().size(), 1);
    }

    // A source's link and title reach the row unchanged, whatever percent signs they hold.
    void sourceRowsKeepTheirLinkAndTitle_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("title");
        QTest::newRow("plain") << QStringLiteral("https://example.com/a") << QStringLiteral("Example");
        QTest::newRow("escaped slash in the link")
            << QStringLiteral("https://example.com/a%2Fb%3Fc") << QStringLiteral("Example");
        QTest::newRow("placeholders in the title")
            << QStringLiteral("https://example.com/") << QStringLiteral("50%1 off %2 %3");
    }
    void sourceRowsKeepTheirLinkAndTitle()
    {
        QFETCH(QString, url);
        QFETCH(QString, title);
        m_results->show(AIAction::research(), selection());
        ResultViewData data = m_results->view()->data();
        data.turns = {{QString(), QStringLiteral("Answer"), {{title, QUrl(url)}}}};
        m_results->view()->setData(data);
        const QLabel* row = m_results->view()->turnViews()[0]->sourcesBox()->findChildren<QLabel*>().last();
        QCOMPARE(row->text(), QStringLiteral("<a href=\"%1\" style=\"text-decoration:none\">1&nbsp;&nbsp;%2</a>")
                                  .arg(url.toHtmlEscaped(), title.toHtmlEscaped()));
        QCOMPARE(row->accessibleName(), QStringLiteral("Source 1: ") + title);
    }

    // A streaming answer keeps its end in view until the reader scrolls up; scrolling back
    // to the end makes the view follow again.
    void followsAStreamingAnswer()
    {
        m_results->show(AIAction::rewrite(RewriteStyle::Shorter), selection());
        ResultView* view = m_results->view();
        QScrollBar* bar = view->findChild<QScrollArea*>()->verticalScrollBar();
        ResultViewData data = view->data();
        data.isStreaming = true;
        QString answer;
        const auto stream = [&](int lines) {
            for (int i = 0; i < lines; ++i) {
                answer += QStringLiteral("A line of the answer.\n");
                data.turns = {{QString(), answer, {}}};
                view->setData(data);
                QCoreApplication::processEvents();
            }
        };
        stream(60);
        QTRY_VERIFY(bar->maximum() > 0);
        QTRY_COMPARE(bar->value(), bar->maximum());

        bar->setValue(bar->maximum() / 2);
        const int readingAt = bar->value();
        stream(20);
        QTRY_VERIFY(bar->maximum() > 2 * readingAt + 100);
        QCOMPARE(bar->value(), readingAt);

        bar->setValue(bar->maximum());
        stream(20);
        QTRY_COMPARE(bar->value(), bar->maximum());
        QVERIFY(bar->maximum() > 2 * readingAt + 200);
    }

    void headerIconIsHiddenFromScreenReaders()
    {
        m_results->show(AIAction::explain(), selection());
        QCOMPARE(readableImages(QAccessible::queryAccessibleInterface(m_results->view()->header())), 0);
    }

private:
    std::unique_ptr<FakePlatform> m_platform;
    MemoryPreferences m_preferences;
    std::unique_ptr<WritingModeStore> m_modes;
    std::unique_ptr<ResultPanelController> m_results;
};

QTEST_MAIN(TestResultPanel)
#include "tst_resultpanel.moc"
