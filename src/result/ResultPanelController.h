#pragma once

#include "app/ResultPresenter.h"

#include <QObject>
#include <QPointer>

class Clock;
class FloatingPanel;
class ResultView;
class UserDefaults;
class WritingModeStore;

// Shows the result of an action in one reusable floating panel beside the selection: it makes
// the panel on first use (focusable, with the close button and the resize grip, at least
// 360 by 260), opens it at the remembered size next to the selection with fresh content for
// every result, and remembers its size under "resultPanelSize" whenever it closes, however it
// is closed. Main thread only.
class ResultPanelController : public QObject, public ResultPresenter {
    Q_OBJECT

public:
    ResultPanelController(Clock& clock, UserDefaults& defaults, WritingModeStore& modes, QObject* parent = nullptr);
    ~ResultPanelController() override;

    void show(const AIAction& action, const Selection& selection) override;
    void setOpenSettings(std::function<void()> openSettings) override { m_openSettings = std::move(openSettings); }
    // Closes the panel when there is one.
    void close();

    FloatingPanel* panel() const { return m_panel; }
    ResultView* view() const;

private:
    void createPanel();
    void panelWillClose();

    Clock& m_clock;
    UserDefaults& m_defaults;
    WritingModeStore& m_modes;
    std::function<void()> m_openSettings;
    QPointer<FloatingPanel> m_panel;
};
