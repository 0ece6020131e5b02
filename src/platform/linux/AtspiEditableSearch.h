#pragma once

#include "platform/linux/AtspiBudget.h"

using AtspiAccessible = struct _AtspiAccessible;

// Finds, below one element (a web document), an element in the editable state that holds a
// non-empty selection of its own (Chromium's text fields offer no editing interface, so the
// state alone tells), through the element's search interface: one request for the editable
// elements. Browsers' documents answer it; without it nothing is found.
namespace AtspiEditableSearch {
// How many editable elements the search interface is asked for.
constexpr int maxMatches = 32;

// A new reference to the element, or null.
AtspiAccessible* find(AtspiAccessible* root, AtspiBudget& budget);
} // namespace AtspiEditableSearch
