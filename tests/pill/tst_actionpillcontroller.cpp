#include "pill/ActionPillController.h"
#include "pill/ActionPillView.h"
#include "pill/FloatingPanel.h"
#include "pill/PillButton.h"
#include "platform/MemoryUserDefaults.h"
#include "platform/fake/FakePlatform.h"
#include "settings/WritingModeStore.h"

#include <QApplication>
#include <QTest>

class TestActionPillController : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_platform = std::make_unique<FakePlatform>();
        m_platform->workspace->launch(501, QStringLiteral("Editor"));
        m_modes = std::make_unique<WritingModeStore>(m_defaults);
        m_pill = std::make_unique<ActionPillController>(m_platform->clock, *m_modes);
        m_pill->setOnAction([this](const AIAction& action, const Selection& selection) {
            m_reported.append(action.title() + " on " + selection.text);
        });
        m_reported.clear();
    }
    void cleanup()
    {
        m_pill.reset();
        m_platform.reset();
    }

    void showsBesideTheSelection()
    {
        m_pill->show(selection(QRectF(100, 500, 200, 20)));
        FloatingPanel* panel = m_pill->panel();
        QVERIFY(panel && panel->isVisible());
        QCOMPARE(QPoint(panel->x(), panel->y() + panel->height()), QPoint(100, 500 - 8));
        QCOMPARE(panel->size(), m_pill->view()->sizeHint());
    }

    void neverTakesTheFocus()
    {
        m_pill->show(selection());
        const Qt::WindowFlags flags = m_pill->panel()->windowFlags();
        QVERIFY(flags.testFlag(Qt::WindowDoesNotAcceptFocus));
        QVERIFY(flags.testFlag(Qt::Tool));
        QVERIFY(m_pill->panel()->testAttribute(Qt::WA_ShowWithoutActivating));
        QVERIFY(!m_pill->panel()->isActiveWindow());
        QVERIFY(!m_pill->panel()->allowsKey());
    }

    void secondShowReusesThePanelAndFadesAgain()
    {
        m_pill->show(selection());
        FloatingPanel* first = m_pill->panel();
        QTRY_COMPARE(first->windowOpacity(), 1.0);
        m_pill->show(selection(QRectF(300, 300, 50, 20), false, QStringLiteral("other")));
        QCOMPARE(m_pill->panel(), first);
        QVERIFY(first->windowOpacity() < 1.0);
        QVERIFY(!m_pill->view()->isEditable());
        QCOMPARE(m_pill->selection()->text, QStringLiteral("other"));
    }

    void pasteFollowsTheClipboard_data()
    {
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("empty clipboard") << QString() << false;
        QTest::newRow("text on the clipboard") << "hello" << true;
    }
    void pasteFollowsTheClipboard()
    {
        QFETCH(QString, clipboard);
        if (!clipboard.isNull())
            m_platform->pasteboard->copyFromElsewhere(clipboard);
        m_pill->show(selection());
        const PillButton* paste = m_pill->view()->buttons().last();
        QCOMPARE(paste->accessibleName(), QStringLiteral("Paste"));
        QTEST(paste->isEnabled(), "enabled");
    }

    void actionHidesThePillAndReportsTheSelection()
    {
        m_pill->show(selection());
        m_pill->view()->buttons().first()->click();
        QVERIFY(!m_pill->panel()->isVisible());
        QCOMPARE(m_reported, QStringList{"Improve writing on brown fox"});
    }

    void copyStaysThenHides()
    {
        m_platform->pasteboard->content = {{{QStringLiteral("text/html"), "<b>x</b>"}}};
        m_pill->show(selection());
        m_pill->view()->copyButton()->click();
        QCOMPARE(m_platform->pasteboard->content.size(), 1);
        QCOMPARE(m_platform->pasteboard->content.first().size(), 1);
        QCOMPARE(m_platform->pasteboard->string(), QStringLiteral("brown fox"));
        m_platform->clock.advance(599);
        QVERIFY(m_pill->panel()->isVisible());
        m_platform->clock.advance(1);
        QVERIFY(!m_pill->panel()->isVisible());
        QVERIFY(m_reported.isEmpty());
    }

    // The copy timeout belongs to the pill it was pressed on, not to the next selection's.
    void newSelectionOutlivesAnEarlierCopy()
    {
        m_pill->show(selection());
        m_pill->view()->copyButton()->click();
        m_platform->clock.advance(300);
        m_pill->show(selection(QRectF(10, 10, 50, 20)));
        m_platform->clock.advance(1000);
        QVERIFY(m_pill->panel()->isVisible());
        QVERIFY(!m_pill->view()->copied());
    }

    void pasteGoesToTheSelectionsApplication_data()
    {
        QTest::addColumn<bool>("frontmost");
        QTest::addColumn<QStringList>("journal");
        QTest::newRow("still frontmost") << true << QStringList{"keystroke Ctrl+V"};
        QTest::newRow("another in front") << false << QStringList{"activate 501", "keystroke Ctrl+V"};
    }
    void pasteGoesToTheSelectionsApplication()
    {
        QFETCH(bool, frontmost);
        QFETCH(QStringList, journal);
        m_platform->pasteboard->copyFromElsewhere(QStringLiteral("hello"));
        if (!frontmost)
            m_platform->workspace->launch(777, QStringLiteral("Other"));
        m_pill->show(selection());
        m_platform->journal.clear();
        m_pill->view()->buttons().last()->click();
        QVERIFY(!m_pill->panel()->isVisible());
        m_platform->clock.advance(79);
        QCOMPARE(m_platform->journal, frontmost ? QStringList{} : QStringList{"activate 501"});
        m_platform->clock.advance(1);
        QCOMPARE(m_platform->journal, journal);
    }

    void orderOutKeepsTheSelection()
    {
        m_pill->show(selection());
        m_pill->orderOutPanel();
        QVERIFY(!m_pill->panel()->isVisible());
        QCOMPARE(m_pill->selection()->text, QStringLiteral("brown fox"));
    }

private:
    static Selection selection(std::optional<QRectF> rect = QRectF(100, 500, 200, 20), bool editable = true,
                               const QString& text = QStringLiteral("brown fox"))
    {
        Selection result;
        result.text = text;
        result.isEditable = editable;
        result.rect = rect;
        result.pid = 501;
        result.appName = QStringLiteral("Editor");
        return result;
    }

    std::unique_ptr<FakePlatform> m_platform;
    MemoryUserDefaults m_defaults;
    std::unique_ptr<WritingModeStore> m_modes;
    std::unique_ptr<ActionPillController> m_pill;
    QStringList m_reported;
};

QTEST_MAIN(TestActionPillController)
#include "tst_actionpillcontroller.moc"
