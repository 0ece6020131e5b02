#include "app/AppController.h"
#include "platform/fake/FakePlatform.h"
#include "settings/AppSettings.h"

#include <QTest>

namespace {

// Stand-ins for the components, noting what the controller asked of them in one shared log.
struct Log {
    QStringList entries;
};

class FakePill : public PillPresenter {
public:
    explicit FakePill(Log& log) : m_log(log) {}
    void show(const Selection& selection) override { m_log.entries << QStringLiteral("pill show ") + selection.text; }
    void hidePanel() override { m_log.entries << QStringLiteral("pill out"); }
    void focusPill() override { m_log.entries << QStringLiteral("pill keyboard"); }

private:
    Log& m_log;
};

class FakeResults : public ResultPresenter {
public:
    explicit FakeResults(Log& log) : m_log(log) {}
    void show(const AIAction& action, const Selection& selection) override
    {
        m_log.entries << QStringLiteral("results %1 %2").arg(action.title(), selection.text);
    }

private:
    Log& m_log;
};

class FakeSettingsWindow : public SettingsPresenter {
public:
    explicit FakeSettingsWindow(Log& log) : m_log(log) {}
    void show() override { m_log.entries << QStringLiteral("settings"); }

private:
    Log& m_log;
};

class FakeAccount : public AccountStatus {
public:
    bool hasToken() const override
    {
        ++tokenReads;
        return signedIn;
    }
    void refresh() override { ++refreshes; }
    bool signedIn = true;
    mutable int tokenReads = 0;
    int refreshes = 0;
};

} // namespace

class TestAppController : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_platform = std::make_unique<FakePlatform>();
        QVERIFY(m_platform->loadFixture(QStringLiteral("selection/editor.json")));
        m_platform->workspace->launch(501, QStringLiteral("Editor"));
        m_log.entries.clear();
        m_account = FakeAccount();
        m_updaterStarts = 0;
        m_beeps = 0;
        m_autoPopup = true;
    }
    void cleanup()
    {
        m_controller.reset();
        m_permission.reset();
        m_platform.reset();
    }

    void launch_data()
    {
        QTest::addColumn<bool>("trusted");
        QTest::addColumn<bool>("signedIn");
        QTest::addColumn<bool>("settingsShown");

        QTest::newRow("granted and signed in") << true << true << false;
        QTest::newRow("no grant") << false << true << true;
        QTest::newRow("granted, signed out") << true << false << true;
        QTest::newRow("neither") << false << false << true;
    }
    void launch()
    {
        QFETCH(bool, trusted);
        QFETCH(bool, signedIn);
        QFETCH(bool, settingsShown);
        m_platform->grant->granted = trusted;
        m_platform->events->refuseMonitors = !trusted;
        m_account.signedIn = signedIn;
        start();

        const QStringList toSettings = {QStringLiteral("pill out"), QStringLiteral("settings")};
        QCOMPARE(m_log.entries, settingsShown ? toSettings : QStringList());
        QCOMPARE(m_account.tokenReads, trusted ? 1 : 0);
        // The desktop's accessibility is turned on only by the user's choice in the settings.
        QCOMPARE(m_platform->grant->requests, 0);
        QCOMPARE(m_account.refreshes, 1);
        QCOMPARE(m_updaterStarts, 1);
        QCOMPARE(m_platform->events->monitorCount(), trusted ? 5 : 0);
        QCOMPARE(m_platform->events->observerCount(), 1);
    }

    // Granting access later installs the event monitors without a restart.
    void theGrantArrivingStartsTheMonitor()
    {
        m_platform->grant->granted = false;
        m_platform->events->refuseMonitors = true;
        start();
        m_platform->grant->granted = true;
        m_platform->events->refuseMonitors = false;
        m_platform->clock.advance(1000);
        QCOMPARE(m_platform->events->monitorCount(), 5);
        QVERIFY(m_platform->events->play(QStringLiteral("down 110,110; up 150,110; wait 150")));
        QCOMPARE(m_log.entries.last(), QStringLiteral("pill show brown fox"));
    }

    // The real pill and panel are proven together in the pill-result flow; here the controller's
    // wiring: an action picked on the pill opens the panel on that selection.
    void aPickedActionOpensTheResults()
    {
        start();
        Selection selection;
        selection.text = QStringLiteral("brown fox");
        Q_EMIT m_pill->actionChosen(AIAction::explain(), selection);
        QCOMPARE(m_log.entries.last(), QStringLiteral("results %1 brown fox").arg(AIAction::explain().title()));
    }

    void autoPopupOffShowsNothingByItself()
    {
        m_autoPopup = false;
        start();
        QVERIFY(m_platform->events->play(QStringLiteral("down 110,110; up 150,110; wait 500")));
        QCOMPARE(m_log.entries, QStringList{QStringLiteral("pill out")});
        m_controller->showActionsForCurrentSelection();
        m_platform->clock.advance(300);
        QCOMPARE(m_log.entries.last(), QStringLiteral("pill show brown fox"));
    }

    void theUsersSettingDecidesByDefault()
    {
        AppSettings::shared().setAutoPopup(false);
        start(false);
        QVERIFY(m_platform->events->play(QStringLiteral("down 110,110; up 150,110; wait 500")));
        QCOMPARE(m_log.entries, QStringList{QStringLiteral("pill out")});
        AppSettings::shared().setAutoPopup(true);
        QVERIFY(m_platform->events->play(QStringLiteral("down 110,110; up 150,110; wait 500")));
        QCOMPARE(m_log.entries.last(), QStringLiteral("pill show brown fox"));
    }

    // Only a request from a key binding hands the keyboard to the pill.
    void showActionsForCurrentSelection_data()
    {
        QTest::addColumn<bool>("selected");
        QTest::addColumn<AppController::PillKeyboard>("keyboard");
        QTest::addColumn<QStringList>("expected");
        const auto leave = AppController::PillKeyboard::Leave;
        const auto take = AppController::PillKeyboard::Take;
        QTest::newRow("from the menu") << true << leave << QStringList{"pill show brown fox"};
        QTest::newRow("from the command") << true << take << QStringList{"pill show brown fox", "pill keyboard"};
        QTest::newRow("nothing selected, from the menu") << false << leave << QStringList();
        QTest::newRow("nothing selected, from the command") << false << take << QStringList();
    }
    void showActionsForCurrentSelection()
    {
        QFETCH(bool, selected);
        QFETCH(AppController::PillKeyboard, keyboard);
        if (!selected)
            m_platform->accessibility->node(501, QStringLiteral("field"))->selectedText.reset();
        start();
        m_controller->showActionsForCurrentSelection(keyboard);
        m_platform->clock.advance(299);
        QVERIFY(m_log.entries.isEmpty());
        QCOMPARE(m_beeps, 0);
        m_platform->clock.advance(1);
        QTEST(m_log.entries, "expected");
        QCOMPARE(m_beeps, selected ? 0 : 1);
    }

    // Without a gesture, a terminal's primary selection counts when the terminal claimed it
    // after it last came to the front (at 100 ms).
    void showActionsDatesThePrimarySelectionByActivation_data()
    {
        QTest::addColumn<qint64>("claimedAtMs");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("claimed since it came to the front") << 150LL << QStringList{"pill show ls -l"};
        QTest::newRow("claimed before") << 50LL << QStringList();
    }
    void showActionsDatesThePrimarySelectionByActivation()
    {
        QFETCH(qint64, claimedAtMs);
        QFETCH(QStringList, expected);
        start();
        m_platform->workspace->launch(700, QStringLiteral("Terminal"));
        m_platform->clock.advance(100);
        m_platform->events->activateApplication();
        m_platform->primary->claim(700, claimedAtMs, QStringLiteral("ls -l"));
        m_platform->clock.advance(200);
        m_log.entries.clear();
        m_controller->showActionsForCurrentSelection();
        m_platform->clock.advance(300);
        QCOMPARE(m_log.entries, expected);
        QCOMPARE(m_beeps, expected.isEmpty() ? 1 : 0);
    }

    void aGrantAfterTheControllerIsGoneReachesNothing()
    {
        m_platform->grant->granted = false;
        start();
        m_controller.reset();
        m_platform->grant->granted = true;
        m_permission->refresh();
        QVERIFY(m_permission->isGranted());
    }

private:
    void start(bool withOwnAutoPopup = true)
    {
        m_permission = std::make_unique<AccessibilityPermission>(m_platform->clock);
        auto pill = std::make_unique<FakePill>(m_log);
        auto results = std::make_unique<FakeResults>(m_log);
        m_pill = pill.get();
        AppController::Parts parts;
        parts.monitor = std::make_unique<SelectionMonitor>(m_platform->clock);
        parts.pill = std::move(pill);
        parts.results = std::move(results);
        parts.settingsWindow = std::make_unique<FakeSettingsWindow>(m_log);
        parts.permission = m_permission.get();
        parts.account = &m_account;
        if (withOwnAutoPopup)
            parts.autoPopup = [this] { return m_autoPopup; };
        parts.startUpdater = [this] { ++m_updaterStarts; };
        parts.beep = [this] { ++m_beeps; };
        parts.clock = &m_platform->clock;
        m_controller = std::make_unique<AppController>(std::move(parts));
        m_controller->start();
    }

    std::unique_ptr<FakePlatform> m_platform;
    std::unique_ptr<AccessibilityPermission> m_permission;
    std::unique_ptr<AppController> m_controller;
    FakePill* m_pill = nullptr;
    Log m_log;
    FakeAccount m_account;
    int m_updaterStarts = 0;
    int m_beeps = 0;
    bool m_autoPopup = true;
};

QTEST_GUILESS_MAIN(TestAppController)
#include "tst_appcontroller.moc"
