#pragma once

#include "platform/linux/AtspiBudget.h"

using AtspiAccessible = struct _AtspiAccessible;

// Finds the element with the keyboard focus inside one application: through the
// application's search interface where it has one (a single request), otherwise by walking
// the visible part of its tree. A focused element with text wins over every focused element
// without text (the containers around it, an item view's current item).
namespace AtspiFocus {
// Limits of the walk, for applications with huge trees.
constexpr int maxVisited = 4000;
constexpr int maxChildren = 500;
// How many focused elements the search interface is asked for.
constexpr int maxMatches = 8;

// A new reference to the focused element, or null.
AtspiAccessible* find(AtspiAccessible* application, AtspiBudget& budget);
} // namespace AtspiFocus
