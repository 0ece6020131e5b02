#pragma once

#include "app/SettingsPresenter.h"
#include "settings/SettingsView.h"

#include <QPointer>

// Owns the settings window: made on the first show(), kept when closed and brought back,
// with the same form and its state, by every later show().
class SettingsWindowController : public SettingsPresenter {
public:
    explicit SettingsWindowController(SettingsView::Services services);
    ~SettingsWindowController() override;

    void show() override;
    // The window, null until first shown.
    QWidget* window() const { return m_window; }
    SettingsView* view() const { return m_view; }

    static constexpr int width = 520;
    static constexpr int minimumHeight = 520;
    static constexpr int idealHeight = 700;

private:
    void create();

    SettingsView::Services m_services;
    QPointer<QWidget> m_window;
    SettingsView* m_view = nullptr;
};
