#include "platform/fake/FakePlatform.h"
#include "selection/SelectionMonitor.h"
#include "support/TestRows.h"

#include <QTest>

// The editor fixture's selection lies at (100, 100)–(180, 120) in global coordinates.
class TestSelectionMonitor : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_platform = std::make_unique<FakePlatform>();
        QVERIFY(m_platform->loadFixture(QStringLiteral("selection/editor.json")));
        m_platform->workspace->launch(501, QStringLiteral("Editor"));
        m_monitor = std::make_unique<SelectionMonitor>(m_platform->clock);
        m_selections.clear();
        m_dismissals = 0;
        connect(m_monitor.get(), &SelectionMonitor::selected, this,
                [this](const Selection& selection) { m_selections.append(selection.text); });
        connect(m_monitor.get(), &SelectionMonitor::dismissed, this, [this] { ++m_dismissals; });
        m_monitor->start();
    }
    void cleanup()
    {
        m_monitor.reset();
        m_platform.reset();
    }

    void gestures_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<int>("checkAfterMs");
        QTest::addColumn<int>("dismissals");

        const QString drag = QStringLiteral("down 110,110; up 115,110; wait 100; ");
        QTest::newRow("click moved 3 points") << "down 110,110; up 113,110" << -1 << 1;
        QTest::newRow("click moved exactly 4 points") << "down 110,110; up 114,110" << -1 << 1;
        QTest::newRow("drag of 5 points") << "down 110,110; up 115,110" << 150 << 1;
        QTest::newRow("diagonal drag") << "down 110,110; up 113,106" << 150 << 1;
        QTest::newRow("double click") << "down 110,110; up 110,110 2" << 250 << 1;
        QTest::newRow("triple click replaces the double click's check")
            << "down 110,110; up 110,110 2; wait 100; down 110,110; up 110,110 3" << 250 << 2;
        QTest::newRow("dragging double click waits like a double click") << "down 110,110; up 130,110 2" << 250 << 1;
        QTest::newRow("shift right arrow") << "keydown Shift+Right; keyup Shift+Right" << 200 << 0;
        QTest::newRow("shift page down") << "keydown Shift+PgDown; keyup Shift+PgDown" << 200 << 0;
        QTest::newRow("select all") << "keydown Ctrl+A; keyup Ctrl+A" << 200 << 0;
        QTest::newRow("copy neither dismisses nor checks") << "keydown Ctrl+C; keyup Ctrl+C" << -1 << 0;
        QTest::newRow("copy keeps a pending check") << drag + "keydown Ctrl+C; keyup Ctrl+C" << 50 << 1;
        QTest::newRow("escape") << "keydown Esc; keyup Esc" << -1 << 1;
        QTest::newRow("control escape") << "keydown Ctrl+Esc" << -1 << 1;
        QTest::newRow("arrow without shift") << "keydown Right; keyup Right" << -1 << 1;
        QTest::newRow("shifted letter") << "keydown Shift+H; keyup Shift+H" << -1 << 1;
        QTest::newRow("typing cancels the check") << drag + "keydown H; keyup H" << -1 << 2;
        QTest::newRow("a click cancels the check") << drag + "down 500,400; up 500,400" << -1 << 2;
        QTest::newRow("scroll dismisses but keeps the check") << drag + "scroll" << 50 << 2;
        QTest::newRow("switching applications cancels the check") << drag + "activate" << -1 << 2;
    }
    void gestures()
    {
        QFETCH(QString, script);
        QFETCH(int, checkAfterMs);
        QFETCH(int, dismissals);
        QVERIFY(m_platform->events->play(script));
        QCOMPARE(m_dismissals, dismissals);
        if (checkAfterMs < 0) {
            m_platform->clock.advance(1000);
            QVERIFY(m_selections.isEmpty());
            return;
        }
        m_platform->clock.advance(checkAfterMs - 1);
        QVERIFY(m_selections.isEmpty());
        m_platform->clock.advance(1);
        QCOMPARE(m_selections, QStringList{QStringLiteral("brown fox")});
        m_platform->clock.advance(1000);
        QCOMPARE(m_selections.size(), 1);
    }

    void gesturesUseWhereTheEventHappened_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<int>("selections");
        QTest::newRow("drag") << "down 110,110; up 150,110; wait 150" << 1;
        QTest::newRow("click") << "down 110,110; up 110,110; wait 300" << 0;
    }
    void gesturesUseWhereTheEventHappened()
    {
        QFETCH(QString, script);
        QFETCH(int, selections);
        m_platform->events->pointerRunsAhead = true;
        QVERIFY(m_platform->events->play(script));
        QCOMPARE(m_selections.size(), selections);
    }

    void proximity_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<bool>("withBounds");
        QTest::addColumn<bool>("delivered");

        QTest::newRow("100 points below the text") << "down 110,220; up 150,220" << true << false;
        QTest::newRow("50 points below the text") << "down 110,170; up 150,170" << true << true;
        QTest::newRow("only the release is near") << "down 600,800; up 170,110" << true << true;
        QTest::newRow("only the press is near") << "down 170,110; up 600,800" << true << true;
        QTest::newRow("far away, no bounds known") << "down 600,800; up 700,800" << false << true;
        QTest::newRow("keyboard, far away") << "down 600,800; up 600,800; keydown Ctrl+A; keyup Ctrl+A" << true << true;
    }
    void proximity()
    {
        QFETCH(QString, script);
        QFETCH(bool, withBounds);
        QFETCH(bool, delivered);
        if (!withBounds)
            m_platform->accessibility->node(501, QStringLiteral("field"))->bounds.reset();
        QVERIFY(m_platform->events->play(script));
        m_platform->clock.advance(300);
        QCOMPARE(m_selections.size(), delivered ? 1 : 0);
    }

    // A browser may give a fresh selection's text before its place: the text is read once more
    // then, rather than the pill going to the pointer.
    void placeKnownLaterIsWaitedFor_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<int>("placeAfterMs"); // -1: never
        QTest::addColumn<int>("deliveredAtMs");
        QTest::addColumn<bool>("placed");

        const QString drag = QStringLiteral("down 110,110; up 150,110");
        addRow("known at once", drag, 0, 150, true);
        addRow("known by the second read", drag, 200, 300, true);
        addRow("never known", drag, -1, 300, false);
        addRow("known too late", drag, 301, 300, false);
        addRow("keys", QStringLiteral("keydown Shift+Right; keyup Shift+Right"), 250, 350, true);
        addRow("a click cancels the second read", drag + QStringLiteral("; wait 200; down 500,400; up 500,400"), -1, -1,
               false);
    }
    void placeKnownLaterIsWaitedFor()
    {
        QFETCH(QString, script);
        QFETCH(int, placeAfterMs);
        QFETCH(int, deliveredAtMs);
        QFETCH(bool, placed);
        auto* field = m_platform->accessibility->node(501, QStringLiteral("field"));
        const auto bounds = field->bounds;
        if (placeAfterMs != 0)
            field->bounds.reset();
        std::optional<qint64> deliveredAt;
        std::optional<QRectF> rect;
        connect(m_monitor.get(), &SelectionMonitor::selected, this, [&](const Selection& selection) {
            deliveredAt = m_platform->clock.monotonicMs();
            rect = selection.rect;
        });
        QVERIFY(m_platform->events->play(script));
        for (qint64 ms = m_platform->clock.monotonicMs(); ms < 1000; ms = m_platform->clock.monotonicMs()) {
            if (ms == placeAfterMs)
                field->bounds = bounds;
            m_platform->clock.advance(1);
        }
        QCOMPARE(deliveredAt.value_or(-1), qint64(deliveredAtMs));
        QCOMPARE(bool(rect), placed);
        QCOMPARE(m_selections.size(), deliveredAtMs < 0 ? 0 : 1);
    }

    // Gestures one after another, each "pid:placed" (whether that application's text has a place
    // this time), with how long after the release each selection is signalled.
    void applicationsThatNeverPlaceAreNotWaitedFor_data()
    {
        QTest::addColumn<QStringList>("gestures");
        QTest::addColumn<QList<int>>("delaysMs");

        const int once = SelectionMonitor::dragDelayMs;
        const int twice = once + SelectionMonitor::placeRetryMs;
        addRow("placed every time", QStringList{"501:1", "501:1"}, QList<int>{once, once});
        addRow("never placed: waited for once", QStringList{"501:0", "501:0", "501:0"}, QList<int>{twice, once, once});
        addRow("placed since: waited for again", QStringList{"501:0", "501:1", "501:0"},
               QList<int>{twice, once, twice});
        addRow("another application is waited for", QStringList{"501:0", "503:0", "501:0"},
               QList<int>{twice, twice, once});
    }
    void applicationsThatNeverPlaceAreNotWaitedFor()
    {
        QFETCH(QStringList, gestures);
        QFETCH(QList<int>, delaysMs);
        QVERIFY(m_platform->accessibility->load(R"({"applications": [{"pid": 503, "focused": "f", "elements": [
            {"id": "f", "role": "TextField", "selectedText": "words", "settable": ["Value", "SelectedText"]}]}]})"));
        std::optional<qint64> deliveredAt;
        connect(m_monitor.get(), &SelectionMonitor::selected, this,
                [&] { deliveredAt = m_platform->clock.monotonicMs(); });
        const QRectF place(100, 100, 80, 20);
        for (qsizetype i = 0; i < gestures.size(); ++i) {
            const QStringList parts = gestures[i].split(QLatin1Char(':'));
            const qint32 pid = parts[0].toInt();
            m_platform->workspace->launch(pid, QStringLiteral("App"));
            auto* node =
                m_platform->accessibility->node(pid, pid == 501 ? QStringLiteral("field") : QStringLiteral("f"));
            node->bounds = parts[1] == QLatin1String("1") ? std::optional<QRectF>(place) : std::nullopt;
            deliveredAt.reset();
            QVERIFY(m_platform->events->play(QStringLiteral("down 110,110; up 150,110")));
            const qint64 releasedAt = m_platform->clock.monotonicMs();
            m_platform->clock.advance(1000);
            QCOMPARE(deliveredAt.value_or(-1) - releasedAt, qint64(delaysMs[i]));
        }
    }

    // A terminal (not on the accessibility bus) claims the primary selection between the two
    // parts of a script: only a claim made after the gesture began counts.
    void primarySelectionIsDatedByTheGesture_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<bool>("delivered");

        QTest::newRow("claimed while dragging") << "down 110,110; wait 50"
                                                << "up 150,110" << true;
        QTest::newRow("claimed before the press") << "wait 50"
                                                  << "wait 1; down 110,110; up 150,110" << false;
        QTest::newRow("claimed at the second press of a double click")
            << "down 110,110; up 110,110; wait 100; down 110,110"
            << "up 110,110 2" << true;
        QTest::newRow("a run of selection keys dates from its first key")
            << "keydown Shift+Right; wait 50"
            << "keyup Shift+Right; wait 100; keydown Shift+Right; keyup Shift+Right" << true;
        QTest::newRow("typing ends the run")
            << "keydown Shift+Right; keyup Shift+Right; wait 50"
            << "wait 1; keydown H; keyup H; keydown Shift+Right; keyup Shift+Right" << false;
        QTest::newRow("claimed during the previous gesture")
            << "down 110,110; wait 50"
            << "up 150,110; wait 300; down 110,110; up 150,110" << true;
    }
    void primarySelectionIsDatedByTheGesture()
    {
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(bool, delivered);
        m_platform->workspace->launch(700, QStringLiteral("Terminal"));
        QVERIFY(m_platform->events->play(before));
        m_platform->primary->claim(700, m_platform->clock.monotonicMs(), QStringLiteral("ls -l"));
        QVERIFY(m_platform->events->play(after));
        m_platform->clock.advance(300);
        QCOMPARE(m_selections, delivered ? QStringList{QStringLiteral("ls -l")} : QStringList());
    }

    void autoPopupIsAskedAfterTheDelay()
    {
        bool autoPopup = true;
        m_monitor->setAutoPopup([&] { return autoPopup; });
        QVERIFY(m_platform->events->play(QStringLiteral("down 110,110; up 150,110; wait 100")));
        autoPopup = false;
        m_platform->clock.advance(100);
        QVERIFY(m_selections.isEmpty());
        QVERIFY(m_platform->events->play(QStringLiteral("down 110,110; up 150,110; wait 200; keydown H")));
        QVERIFY(m_selections.isEmpty());
        QCOMPARE(m_dismissals, 3);
    }

    void nothingSelectedReportsNothing()
    {
        m_platform->accessibility->node(501, QStringLiteral("field"))->selectedText.reset();
        QVERIFY(m_platform->events->play(QStringLiteral("down 110,110; up 110,110 2; wait 300")));
        QVERIFY(m_selections.isEmpty());
    }

    void startingTwiceKeepsOneSetOfMonitors()
    {
        m_monitor->start();
        QCOMPARE(m_platform->events->monitorCount(), 5);
        QCOMPARE(m_platform->events->observerCount(), 1);
        QVERIFY(m_platform->events->play(QStringLiteral("keydown H")));
        QCOMPARE(m_dismissals, 1);
    }

    void stopRemovesMonitorsAndThePendingCheck()
    {
        QVERIFY(m_platform->events->play(QStringLiteral("down 110,110; up 150,110")));
        QVERIFY(m_monitor->hasPendingCheck());
        m_monitor->stop();
        QCOMPARE(m_platform->events->monitorCount(), 0);
        QCOMPARE(m_platform->events->observerCount(), 0);
        m_platform->clock.advance(1000);
        QVERIFY(m_selections.isEmpty());
    }

    void withoutTheGrantNoMonitorsAreKeptUntilRestarted()
    {
        m_platform->events->refuseMonitors = true;
        m_monitor->start();
        QCOMPARE(m_platform->events->monitorCount(), 0);
        m_platform->events->refuseMonitors = false;
        m_monitor->start();
        QCOMPARE(m_platform->events->monitorCount(), 5);
    }

    void destroyingTheMonitorEndsItsWork()
    {
        QVERIFY(m_platform->events->play(QStringLiteral("down 110,110; up 150,110")));
        m_monitor.reset();
        QCOMPARE(m_platform->events->monitorCount(), 0);
        QVERIFY(m_platform->events->play(QStringLiteral("keydown H; wait 1000")));
        QVERIFY(m_selections.isEmpty());
        QCOMPARE(m_dismissals, 1);
    }

private:
    std::unique_ptr<FakePlatform> m_platform;
    std::unique_ptr<SelectionMonitor> m_monitor;
    QStringList m_selections;
    int m_dismissals = 0;
};

QTEST_GUILESS_MAIN(TestSelectionMonitor)
#include "tst_selectionmonitor.moc"
