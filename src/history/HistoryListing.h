#pragma once

#include "history/HistoryStore.h"

#include <QTimeZone>

// How the main window lists the stored conversations: which kinds each filter shows, the
// search over titles, selections, questions and answers, the grouping by day ("Today",
// "Yesterday", "Previous 7 days", "Earlier") and each row's icon and second line.
namespace HistoryListing {

// The sidebar's filter, in picker order.
enum class Filter { All, Chats, Ask, Research, Rewrites, Explain };

struct Group {
    QString label;
    QList<HistoryStore::Conversation> conversations;
};

QList<Filter> allFilters();
// The picker's label, for example "Explain, Translate, Search".
QString label(Filter filter);
bool lists(Filter filter, HistoryStore::Kind kind);

// The conversations of the filter whose texts contain the search (trimmed of spaces and tabs,
// without regard to case), in the given order. A blank search matches everything.
QList<HistoryStore::Conversation> filtered(const QList<HistoryStore::Conversation>& conversations, Filter filter,
                                           const QString& search);

// The conversations grouped by their last save, as seen in zone at now; empty groups are
// left out and each group keeps the order it was given.
QList<Group> groups(const QList<HistoryStore::Conversation>& conversations, const QDateTime& now,
                    const QTimeZone& zone);
// The group label for one moment.
QString groupLabel(const QDateTime& updatedAt, const QDateTime& now, const QTimeZone& zone);

// "Chat", "Web search", …: the kind's name in the list.
QString kindLabel(HistoryStore::Kind kind);
// The kind's icon name.
QString kindIconName(HistoryStore::Kind kind);
// The row's second line: the style or the kind's name, then " in " and the application.
QString subtitle(const HistoryStore::Conversation& conversation);

} // namespace HistoryListing
