#pragma once

#include "actions/AIAction.h"

#include <QWidget>

class QLabel;
class QToolButton;
class WritingModeStore;

// The top row of the result panel: the action's icon; for rewrites a menu titled with the style
// that switches to another built-in style or writing mode, for other actions the title as a
// heading; "from" and the application's name; and the button that continues the conversation
// in the main window. The top padding leaves room for the panel's close button.
class ResultHeader : public QWidget {
    Q_OBJECT

public:
    ResultHeader(const AIAction& action, const QString& appName, WritingModeStore& modes, QWidget* parent = nullptr);

    // Follows a switch to another rewrite style: the menu's label and the icon change with it.
    void setAction(const AIAction& action);

    // The rewrite style menu button; null for other actions.
    QToolButton* styleMenuButton() const { return m_styleButton; }
    QToolButton* continueButton() const { return m_continueButton; }

Q_SIGNALS:
    // Another rewrite style or writing mode was picked from the menu.
    void rewriteRequested(const AIAction& action);
    void continueRequested();

protected:
    void changeEvent(QEvent* event) override;

private:
    QWidget* makeTitle(const AIAction& action);
    void fillStyleMenu();
    void updateIcons();

    AIAction m_action;
    WritingModeStore& m_modes;
    QLabel* m_icon = nullptr;
    QToolButton* m_styleButton = nullptr;
    QToolButton* m_continueButton = nullptr;
};
