#pragma once

#include "actions/AIAction.h"
#include "selection/Selection.h"

#include <QObject>

// What the app controller needs of the action pill: show it beside a selection, put its panel
// away, and hear which action the user picked (copy and paste stay inside the pill).
class PillPresenter : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    // Shows the pill beside the selection, or moves it there.
    virtual void show(const Selection& selection) = 0;
    // Lets the keyboard work the pill on screen, for a user who asked for it without the mouse.
    virtual void focusPill() = 0;
    // Orders the pill's panel out, when there is one.
    virtual void hidePanel() = 0;

Q_SIGNALS:
    // The user picked an action for this selection.
    void actionChosen(const AIAction& action, const Selection& selection);
};
