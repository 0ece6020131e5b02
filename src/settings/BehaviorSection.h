#pragma once

#include "settings/SettingsSection.h"

class AppSettings;
class QCheckBox;
class QComboBox;

// The settings section of the general behaviour: appearance, automatic pop-up of the actions
// and launch at login, each bound both ways to the settings. unavailableReason, when given,
// explains under the pop-up switch why actions cannot pop up on this desktop.
class BehaviorSection : public SettingsSection {
    Q_OBJECT
public:
    BehaviorSection(AppSettings& settings, const QString& unavailableReason, QWidget* parent = nullptr);

    QComboBox* appearancePicker() const { return m_appearance; }
    QCheckBox* autoPopupSwitch() const { return m_autoPopup; }
    QCheckBox* launchAtLoginSwitch() const { return m_launchAtLogin; }

private:
    void buildAppearance();
    void read();

    AppSettings& m_settings;
    QComboBox* m_appearance = nullptr;
    QCheckBox* m_autoPopup = nullptr;
    QCheckBox* m_launchAtLogin = nullptr;
};
