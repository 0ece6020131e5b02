#pragma once

#include "settings/SettingsSection.h"

#include <QMessageBox>
#include <QPointer>

class HistoryStore;
class QCheckBox;
class QPushButton;

// The settings section of the history: the switch that turns saving on or off, where the
// history is kept, and "Clear History…", which asks for confirmation before emptying it.
class HistorySection : public SettingsSection {
    Q_OBJECT
public:
    explicit HistorySection(HistoryStore& store, QWidget* parent = nullptr);

    QCheckBox* saveSwitch() const { return m_save; }
    QPushButton* clearButton() const { return m_clear; }
    // The confirmation while it is showing.
    QMessageBox* confirmation() const { return m_confirmation; }
    bool isConfirmingClear() const { return !m_confirmation.isNull(); }

    // Shows the confirmation (what "Clear History…" does).
    void confirmClear();

private:
    void update();

    HistoryStore& m_store;
    QCheckBox* m_save = nullptr;
    QPushButton* m_clear = nullptr;
    QPointer<QMessageBox> m_confirmation;
};
