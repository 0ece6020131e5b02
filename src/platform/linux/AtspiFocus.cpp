#include "platform/linux/AtspiFocus.h"

#include "platform/linux/AtspiLog.h"
#include "platform/linux/AtspiStateSearch.h"

#include <atspi/atspi.h>

namespace {

struct Walk {
    AtspiBudget& budget;
    int visited = 0;
    // Whether the walk is below a focused container, looking for the focused text inside it.
    bool insideFocused = false;
    // The first focused element without text, should no focused element have text: item views
    // keep marking their current item as focused after the focus has gone to a text field.
    AtspiAccessible* firstFocused = nullptr;
};

bool hasText(AtspiAccessible* element, AtspiBudget& budget)
{
    if (!budget.begin())
        return false;
    AtspiText* text = atspi_accessible_get_text_iface(element);
    budget.end();
    if (text)
        g_object_unref(text);
    return text != nullptr;
}

// The first match that has text, else the first match: a toolkit may mark the panels around
// the focused paragraph as focused too, and they come first.
AtspiAccessible* firstWithText(const std::vector<AtspiAccessible*>& matches, AtspiBudget& budget)
{
    for (AtspiAccessible* match : matches) {
        if (hasText(match, budget))
            return ATSPI_ACCESSIBLE(g_object_ref(match));
    }
    return matches.empty() ? nullptr : ATSPI_ACCESSIBLE(g_object_ref(matches.front()));
}

// The element's states, or null when the budget refuses the call.
AtspiStateSet* states(AtspiAccessible* element, AtspiBudget& budget)
{
    if (!budget.begin())
        return nullptr;
    AtspiStateSet* set = atspi_accessible_get_state_set(element);
    budget.end();
    return set;
}

// searched tells whether the application answered the search at all.
AtspiAccessible* bySearch(AtspiAccessible* application, AtspiBudget& budget, bool* searched)
{
    AtspiStateSearch::Matches matches =
        AtspiStateSearch::find(application, ATSPI_STATE_FOCUSED, AtspiFocus::maxMatches, budget);
    *searched = matches.answered;
    AtspiAccessible* found = firstWithText(matches.elements, budget);
    AtspiStateSearch::release(matches);
    if (!matches.error.isEmpty())
        qCWarning(atspiLog) << "Accessibility search for the focused element failed:" << matches.error;
    return found;
}

AtspiAccessible* walk(AtspiAccessible* element, Walk& walk, bool isRoot);

AtspiAccessible* walkChildren(AtspiAccessible* element, Walk& state)
{
    if (!state.budget.begin())
        return nullptr;
    const gint count = atspi_accessible_get_child_count(element, nullptr);
    state.budget.end();
    for (gint i = 0; i < std::min(count, gint(AtspiFocus::maxChildren)); ++i) {
        if (!state.budget.begin())
            return nullptr;
        AtspiAccessible* child = atspi_accessible_get_child_at_index(element, i, nullptr);
        state.budget.end();
        if (!child)
            continue;
        AtspiAccessible* found = walk(child, state, false);
        g_object_unref(child);
        if (found)
            return found;
    }
    return nullptr;
}

// Depth first through what is visible; hidden subtrees cannot hold the focus. Some toolkits
// mark nothing below the window as showing, so visible is all that is asked. A focused element
// without text may be a container around the focused text element: the walk goes on below it,
// and then past it, as a focused element with text elsewhere wins (as it does in a search).
AtspiAccessible* walk(AtspiAccessible* element, Walk& state, bool isRoot)
{
    if (++state.visited > AtspiFocus::maxVisited)
        return nullptr;
    AtspiStateSet* set = states(element, state.budget);
    if (!set)
        return nullptr;
    const bool focused = atspi_state_set_contains(set, ATSPI_STATE_FOCUSED);
    const bool visible = atspi_state_set_contains(set, ATSPI_STATE_VISIBLE);
    g_object_unref(set);
    if (focused && !isRoot) {
        if (hasText(element, state.budget))
            return ATSPI_ACCESSIBLE(g_object_ref(element));
        if (!state.insideFocused) {
            state.insideFocused = true;
            AtspiAccessible* inner = walkChildren(element, state);
            state.insideFocused = false;
            if (inner)
                return inner;
            if (!state.firstFocused)
                state.firstFocused = ATSPI_ACCESSIBLE(g_object_ref(element));
            return nullptr;
        }
    }
    if (!visible && !isRoot)
        return nullptr;
    return walkChildren(element, state);
}

} // namespace

namespace AtspiFocus {

AtspiAccessible* find(AtspiAccessible* application, AtspiBudget& budget)
{
    bool searched = false;
    AtspiAccessible* found = bySearch(application, budget, &searched);
    if (found || searched)
        return found;
    Walk state{budget};
    AtspiAccessible* walked = walk(application, state, true);
    if (!walked)
        return state.firstFocused;
    if (state.firstFocused)
        g_object_unref(state.firstFocused);
    return walked;
}

} // namespace AtspiFocus
