#pragma once

#include "platform/linux/AtspiBudget.h"

#include <QString>
#include <vector>

using AtspiAccessible = struct _AtspiAccessible;

// One request to an element's search interface (AT-SPI's Collection) for the elements below it
// that carry a state, in document order, within the caller's budget.
namespace AtspiStateSearch {

struct Matches {
    // Each with a reference of its own, dropped by release().
    std::vector<AtspiAccessible*> elements;
    // Whether the application answered the search at all: it may offer no search interface,
    // or the budget may refuse the call.
    bool answered = false;
    // The application's error, when it answered with one.
    QString error;
};

// `state` is an AtspiStateType.
Matches find(AtspiAccessible* root, int state, int maxMatches, AtspiBudget& budget);
// Drops the matches' references.
void release(Matches& matches);

} // namespace AtspiStateSearch
