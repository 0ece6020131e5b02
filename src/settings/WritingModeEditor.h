#pragma once

#include "actions/WritingMode.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The modal dialog that edits one writing mode: its name, its rules and a live character
// counter that turns orange above the limit. Save (Return) is enabled while the mode may be
// saved and hands the edited mode to the caller; Cancel (Escape) drops the changes.
class WritingModeEditor : public QDialog {
    Q_OBJECT
public:
    explicit WritingModeEditor(const WritingMode& mode, QWidget* parent = nullptr);

    // The mode as currently edited; its id is the one it was opened with.
    WritingMode mode() const;
    bool canSave() const;
    QString counterText() const;
    bool isCounterOrange() const;

Q_SIGNALS:
    void saved(const WritingMode& mode);
    void cancelled();

private:
    void buildForm();
    QWidget* buildBottomRow();
    void update();

    QUuid m_id;
    QLineEdit* m_name = nullptr;
    QPlainTextEdit* m_rules = nullptr;
    QLabel* m_counter = nullptr;
    QPushButton* m_save = nullptr;
};
