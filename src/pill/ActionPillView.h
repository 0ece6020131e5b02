#pragma once

#include "actions/AIAction.h"

#include <QWidget>

class PillButton;
class WritingModeStore;

// The content of the action pill: one capsule-shaped row of buttons for the current
// selection. An editable selection gets Rewrite | Ask AI | Copy, Paste; a read-only one gets
// Explain, Translate, Research, Search | Ask AI | Copy. The view only reports presses; Copy then
// shows a checkmark and "Copied". For keyboard use the view grabs the keyboard rather than
// taking the focus, so the selection's application keeps both: Left, Right and Tab move between
// the buttons, Return or Space presses one, Down opens the rewrite menu and Escape lets go.
class ActionPillView : public QWidget {
    Q_OBJECT

public:
    // canPaste: whether the clipboard holds text right now (Paste is disabled otherwise).
    ActionPillView(bool isEditable, bool canPaste, WritingModeStore& modes, QWidget* parent = nullptr);

    bool isEditable() const { return m_isEditable; }
    bool copied() const { return m_copied; }
    PillButton* copyButton() const { return m_copyButton; }
    QList<PillButton*> buttons() const;

    // Starts keyboard use on the first button.
    void startKeyboardUse();
    void stopKeyboardUse();
    int keyboardIndex() const { return m_keyboardIndex; }

Q_SIGNALS:
    void actionRequested(const AIAction& action);
    void copyRequested();
    void pasteRequested();
    // Escape during keyboard use; the pill is put away.
    void escapePressed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void addReadOnlyActions();
    void addActionButton(const AIAction& action, const QString& title, const QString& help);
    void addDivider();
    void addCopyAndPaste(bool canPaste);
    void markCopied();
    void moveKeyboard(int step);
    void pressKeyboardCurrent(int key);
    void resumeKeyboardUse();

    bool m_isEditable;
    bool m_copied = false;
    PillButton* m_copyButton = nullptr;
    int m_keyboardIndex = -1;
};
