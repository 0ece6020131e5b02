#include "platform/linux/AtspiEditableSearch.h"

#include "platform/linux/AtspiLog.h"
#include "platform/linux/AtspiStateSearch.h"

#include <atspi/atspi.h>

namespace {

// Whether the element's own text has a non-empty first selected range.
bool holdsSelection(AtspiAccessible* element, AtspiBudget& budget)
{
    if (!budget.begin())
        return false;
    AtspiText* text = atspi_accessible_get_text_iface(element);
    budget.end();
    if (!text)
        return false;
    bool holds = false;
    if (budget.begin()) {
        const gint count = atspi_text_get_n_selections(text, nullptr);
        budget.end();
        if (count > 0 && budget.begin()) {
            AtspiRange* range = atspi_text_get_selection(text, 0, nullptr);
            budget.end();
            holds = range && range->end_offset > range->start_offset;
            g_free(range);
        }
    }
    g_object_unref(text);
    return holds;
}

} // namespace

namespace AtspiEditableSearch {

AtspiAccessible* find(AtspiAccessible* root, AtspiBudget& budget)
{
    AtspiStateSearch::Matches matches = AtspiStateSearch::find(root, ATSPI_STATE_EDITABLE, maxMatches, budget);
    AtspiAccessible* found = nullptr;
    for (AtspiAccessible* match : matches.elements) {
        if (holdsSelection(match, budget)) {
            found = ATSPI_ACCESSIBLE(g_object_ref(match));
            break;
        }
    }
    AtspiStateSearch::release(matches);
    if (!matches.error.isEmpty())
        qCDebug(atspiLog) << "Accessibility search for editable elements failed:" << matches.error;
    return found;
}

} // namespace AtspiEditableSearch
