#pragma once

#include "app/AccountStatus.h"
#include "common/TaskHandle.h"
#include "platform/Clock.h"
#include "selection/AccessibilityPermission.h"
#include "selection/SelectionMonitor.h"
#include "ui/PillPresenter.h"
#include "ui/ResultPresenter.h"
#include "ui/SettingsPresenter.h"

#include <memory>

// The spine of the program: owns the selection monitor, the action pill, the result panel and
// the settings window, and wires them so that a selection shows the pill, a pill action opens
// the result panel and a dismissing gesture hides the pill. At launch it sends a user without
// the accessibility grant or without a sign-in to the settings window. Main thread only.
class AppController {
public:
    // Everything the controller is made of and talks to. The four components become its own.
    struct Parts {
        std::unique_ptr<SelectionMonitor> monitor;
        std::unique_ptr<PillPresenter> pill;
        std::unique_ptr<ResultPresenter> results;
        std::unique_ptr<SettingsPresenter> settingsWindow;
        AccessibilityPermission* permission = nullptr;
        AccountStatus* account = nullptr;
        // Whether selections pop the pill up by themselves; the user's setting when left empty.
        std::function<bool()> autoPopup;
        std::function<void()> startUpdater;
        std::function<void()> beep;
        // The system clock when left empty.
        Clock* clock = nullptr;
    };

    static constexpr int showActionsDelayMs = 300;

    // Whether the pill shown on request takes the keyboard: yes when the request came from a
    // key binding (the command line), no when it came from the pointer (the tray menu).
    enum class PillKeyboard { Leave, Take };

    explicit AppController(Parts parts);
    ~AppController();
    AppController(const AppController&) = delete;
    AppController& operator=(const AppController&) = delete;

    // The program's controller, installed by main() once the components exist.
    static AppController& shared();
    static void setShared(std::unique_ptr<AppController> controller);

    // Wires the components and runs the launch checks; called once.
    void start();
    // Shows the pill for whatever is selected right now, after a short wait, or beeps.
    void showActionsForCurrentSelection(PillKeyboard keyboard = PillKeyboard::Leave);
    // Puts the pill away and shows the settings window.
    void showSettings();

    SelectionMonitor& monitor() { return *m_parts.monitor; }

private:
    void wireComponents();
    void sendNewUsersToSettings();
    void showActionsNow(PillKeyboard keyboard);

    Parts m_parts;
    TaskHandle m_showActionsTask;
};
