#pragma once

#include <QScrollArea>
#include <functional>

class AccessibilityPermission;
class AccessibilitySection;
class AppSettings;
class BehaviorSection;
class HistorySection;
class HistoryStore;
class WritingModeStore;
class WritingModesSection;

// The settings form: accessibility, account, behaviour, writing modes and history, each
// section bound to the program's shared state and live while the window is open. Every time
// the form is shown it re-reads the accessibility grant and asks for the account's state.
class SettingsView : public QScrollArea {
    Q_OBJECT
public:
    struct Services {
        AppSettings& settings;
        AccessibilityPermission& permission;
        HistoryStore& history;
        WritingModeStore& modes;
        // Started each time the form is shown; may be empty.
        std::function<void()> refreshAccount;
        // Why actions cannot pop up on this desktop, and which applications expose their
        // text; shown when not empty.
        QString unavailableReason;
        QString accessibilityHelp;
        // Makes the account section for a new form; may be empty.
        std::function<QWidget*()> makeAccountSection;
    };

    explicit SettingsView(Services services, QWidget* parent = nullptr);

    // Puts the account section in its place, second in the form.
    void setAccountSection(QWidget* section);

    AccessibilitySection* accessibilitySection() const { return m_accessibility; }
    BehaviorSection* behaviorSection() const { return m_behavior; }
    WritingModesSection* writingModesSection() const { return m_writingModes; }
    HistorySection* historySection() const { return m_history; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    Services m_services;
    QWidget* m_form = nullptr;
    AccessibilitySection* m_accessibility = nullptr;
    BehaviorSection* m_behavior = nullptr;
    WritingModesSection* m_writingModes = nullptr;
    HistorySection* m_history = nullptr;
};
