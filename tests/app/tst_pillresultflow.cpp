#include "app/AppController.h"
#include "pill/ActionPillController.h"
#include "pill/ActionPillView.h"
#include "pill/PillButton.h"
#include "platform/MemoryPreferences.h"
#include "platform/fake/FakePlatform.h"
#include "result/ResultPanelController.h"
#include "result/ResultView.h"
#include "settings/WritingModeStore.h"
#include "ui/FloatingPanel.h"

#include <QTest>

namespace {

// Conversations whose turns never get an answer: these tests set what the view shows themselves.
ConversationServices unansweredServices(Clock& clock)
{
    ConversationServices services;
    services.clock = &clock;
    services.streamTurn = [](auto&&...) { return TaskHandle(); };
    return services;
}

class NoSettingsWindow : public SettingsPresenter {
public:
    void show() override { ++shown; }
    int shown = 0;
};

class SignedIn : public AccountStatus {
public:
    bool hasToken() const override { return true; }
    void refresh() override {}
};

} // namespace

// The app controller driving the real pill and result panel over the fake desktop: a drag in the
// editor fixture shows the pill, a button opens the panel, a click elsewhere hides only the pill.
class TestPillResultFlow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_platform = std::make_unique<FakePlatform>();
        QVERIFY(m_platform->loadFixture(QStringLiteral("selection/editor.json")));
        m_platform->workspace->launch(501, QStringLiteral("Editor"));
        m_modes = std::make_unique<WritingModeStore>(m_preferences);
        m_permission = std::make_unique<AccessibilityPermission>(m_platform->clock);
        auto pill = std::make_unique<ActionPillController>(m_platform->clock, *m_modes);
        auto results = std::make_unique<ResultPanelController>(m_platform->clock, m_preferences, *m_modes,
                                                               unansweredServices(m_platform->clock));
        m_pill = pill.get();
        m_results = results.get();
        AppController::Parts parts;
        parts.monitor = std::make_unique<SelectionMonitor>(m_platform->clock);
        parts.pill = std::move(pill);
        parts.results = std::move(results);
        parts.settingsWindow = std::make_unique<NoSettingsWindow>();
        parts.permission = m_permission.get();
        parts.account = &m_account;
        parts.autoPopup = [] { return true; };
        parts.clock = &m_platform->clock;
        m_controller = std::make_unique<AppController>(std::move(parts));
        m_controller->start();
    }
    void cleanup()
    {
        m_controller.reset();
        m_permission.reset();
        m_platform.reset();
    }

    void selectionToPillToPanel()
    {
        QVERIFY(m_platform->events->play(QStringLiteral("down 110,110; up 150,110; wait 150")));
        QVERIFY(m_pill->panel() && m_pill->panel()->isVisible());
        QCOMPARE(m_pill->selection()->text, QStringLiteral("brown fox"));

        m_pill->view()->buttons().first()->click();
        QVERIFY(!m_pill->panel()->isVisible());
        QVERIFY(m_results->panel()->isVisible());
        QCOMPARE(m_results->view()->data().action.title(), QStringLiteral("Improve writing"));
        QCOMPARE(m_results->view()->data().selectionText, QStringLiteral("brown fox"));

        QVERIFY(m_platform->events->play(QStringLiteral("down 600,600; up 600,600")));
        QVERIFY(m_results->panel()->isVisible());
    }

private:
    std::unique_ptr<FakePlatform> m_platform;
    MemoryPreferences m_preferences;
    std::unique_ptr<WritingModeStore> m_modes;
    std::unique_ptr<AccessibilityPermission> m_permission;
    std::unique_ptr<AppController> m_controller;
    ActionPillController* m_pill = nullptr;
    ResultPanelController* m_results = nullptr;
    SignedIn m_account;
};

QTEST_MAIN(TestPillResultFlow)
#include "tst_pillresultflow.moc"
