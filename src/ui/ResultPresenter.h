#pragma once

#include "actions/AIAction.h"
#include "selection/Selection.h"

// What the app controller needs of the result panel: open it for a new conversation about a
// selection.
class ResultPresenter {
public:
    virtual ~ResultPresenter() = default;

    // Opens (or reuses) the panel for a new conversation.
    virtual void show(const AIAction& action, const Selection& selection) = 0;
};
