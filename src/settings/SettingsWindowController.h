#pragma once

#include "settings/SettingsView.h"
#include "ui/SettingsPresenter.h"

#include <QPointer>

// Owns the settings window: made by show() when there is none, brought to the front by a
// show() while it is open, and taken apart when it is closed, so that a window off the screen
// holds no memory. Everything it shows is stored elsewhere, so a new window shows the same.
class SettingsWindowController : public SettingsPresenter {
public:
    explicit SettingsWindowController(SettingsView::Services services);
    ~SettingsWindowController() override;

    void show() override;
    // The window, null while none is open.
    QWidget* window() const { return m_window; }
    SettingsView* view() const { return m_view; }

    static constexpr int width = 520;
    static constexpr int minimumHeight = 520;
    static constexpr int idealHeight = 700;

private:
    void create();

    SettingsView::Services m_services;
    QPointer<QWidget> m_window;
    QPointer<SettingsView> m_view;
};
