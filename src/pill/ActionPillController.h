#pragma once

#include "common/TaskHandle.h"
#include "ui/PillPresenter.h"

#include <QObject>
#include <QPointer>
#include <optional>

class ActionPillView;
class Clock;
class FloatingPanel;
class WritingModeStore;

// Shows the action pill beside each selection the app controller passes on, and turns its
// buttons into effects: an action for the app controller, a copy of the selection to the
// clipboard (the pill stays 0.6 s to show that it copied), or a paste of the clipboard over the
// selection. One panel is made on first use and reused; the selection survives hiding, so a
// late press still refers to the last selection shown. Main thread only.
class ActionPillController : public PillPresenter {
    Q_OBJECT

public:
    static constexpr int copiedDisplayMs = 600;
    static constexpr int gap = 8;

    explicit ActionPillController(Clock& clock, WritingModeStore& modes, QObject* parent = nullptr);
    ~ActionPillController() override;

    void show(const Selection& selection) override;
    void hidePanel() override;

    // Lets the keyboard work the pill, for users who pick an action without the mouse. The keys
    // are grabbed rather than the focus taken, so the selection's application keeps its focus,
    // and Escape lets them go again.
    void focusPill() override;

    FloatingPanel* panel() const { return m_panel; }
    ActionPillView* view() const;
    const std::optional<Selection>& selection() const { return m_selection; }

    // Whether the clipboard holds text that Paste could put over a selection.
    static bool clipboardHasText();

private:
    void createPanel();
    void handleAction(const AIAction& action);
    void handleCopy();
    void handlePaste();

    Clock& m_clock;
    WritingModeStore& m_modes;
    QPointer<FloatingPanel> m_panel;
    std::optional<Selection> m_selection;
    TaskHandle m_copyTimeout;
};
