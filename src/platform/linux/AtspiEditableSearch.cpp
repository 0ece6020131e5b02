#include "platform/linux/AtspiEditableSearch.h"

#include "platform/linux/AtspiLog.h"

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
    if (!budget.begin())
        return nullptr;
    AtspiCollection* collection = atspi_accessible_get_collection_iface(root);
    budget.end();
    if (!collection || !budget.begin()) {
        if (collection)
            g_object_unref(collection);
        return nullptr;
    }
    AtspiStateSet* wanted = atspi_state_set_new(nullptr);
    atspi_state_set_add(wanted, ATSPI_STATE_EDITABLE);
    AtspiMatchRule* rule =
        atspi_match_rule_new(wanted, ATSPI_Collection_MATCH_ALL, nullptr, ATSPI_Collection_MATCH_ALL, nullptr,
                             ATSPI_Collection_MATCH_ALL, nullptr, ATSPI_Collection_MATCH_ALL, FALSE);
    GError* error = nullptr;
    GArray* matches =
        atspi_collection_get_matches(collection, rule, ATSPI_Collection_SORT_ORDER_CANONICAL, maxMatches, TRUE, &error);
    budget.end();
    g_object_unref(rule);
    g_object_unref(wanted);
    g_object_unref(collection);
    AtspiAccessible* found = nullptr;
    for (guint i = 0; matches && i < matches->len; ++i) {
        AtspiAccessible* match = g_array_index(matches, AtspiAccessible*, i);
        if (!found && holdsSelection(match, budget))
            found = ATSPI_ACCESSIBLE(g_object_ref(match));
        g_object_unref(match);
    }
    if (matches)
        g_array_free(matches, TRUE);
    if (error) {
        qCDebug(atspiLog) << "Accessibility search for editable elements failed:" << error->message;
        g_error_free(error);
    }
    return found;
}

} // namespace AtspiEditableSearch
