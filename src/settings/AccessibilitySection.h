#pragma once

#include "settings/SettingsSection.h"

class AccessibilityPermission;
class QCheckBox;
class QLabel;
class QPushButton;

// The settings section that shows whether the accessibility grant is present and, while it is
// missing, explains why it is needed and opens the desktop's settings for it. It also holds the
// user's choice to have the desktop's accessibility support turned on, with what that changes.
// helpText, when given, says which applications expose their text at all.
class AccessibilitySection : public SettingsSection {
    Q_OBJECT
public:
    AccessibilitySection(AccessibilityPermission& permission, const QString& helpText, QWidget* parent = nullptr);

    QString statusText() const;
    // The applications open now and how their selections are read; refreshed each time it is shown.
    QString reachText() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void updateReach();
    QWidget* statusRow();
    void update();

    AccessibilityPermission& m_permission;
    QLabel* m_statusIcon = nullptr;
    QLabel* m_status = nullptr;
    QWidget* m_statusValue = nullptr;
    QLabel* m_explanation = nullptr;
    QPushButton* m_open = nullptr;
    QCheckBox* m_switchOn = nullptr;
    QLabel* m_reach = nullptr;
};
