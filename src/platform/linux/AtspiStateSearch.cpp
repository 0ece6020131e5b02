#include "platform/linux/AtspiStateSearch.h"

#include <atspi/atspi.h>

namespace AtspiStateSearch {

Matches find(AtspiAccessible* root, int state, int maxMatches, AtspiBudget& budget)
{
    Matches found;
    if (!budget.begin())
        return found;
    AtspiCollection* collection = atspi_accessible_get_collection_iface(root);
    budget.end();
    if (!collection || !budget.begin()) {
        if (collection)
            g_object_unref(collection);
        return found;
    }
    AtspiStateSet* wanted = atspi_state_set_new(nullptr);
    atspi_state_set_add(wanted, AtspiStateType(state));
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
    found.answered = matches != nullptr;
    for (guint i = 0; matches && i < matches->len; ++i)
        found.elements.push_back(g_array_index(matches, AtspiAccessible*, i));
    if (matches)
        g_array_free(matches, TRUE);
    if (error) {
        found.error = QString::fromUtf8(error->message);
        g_error_free(error);
    }
    return found;
}

void release(Matches& matches)
{
    for (AtspiAccessible* element : matches.elements)
        g_object_unref(element);
    matches.elements.clear();
}

} // namespace AtspiStateSearch
