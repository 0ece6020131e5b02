#include "history/HistoryListing.h"

#include <QCoreApplication>

using Kind = HistoryStore::Kind;

namespace HistoryListing {

namespace {

QString trimmedHorizontally(const QString& text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    auto horizontal = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); };
    while (start < end && horizontal(text[start]))
        ++start;
    while (end > start && horizontal(text[end - 1]))
        --end;
    return text.mid(start, end - start);
}

bool contains(const QString& text, const QString& query)
{
    return text.contains(query, Qt::CaseInsensitive);
}

bool matches(const HistoryStore::Conversation& conversation, const QString& query)
{
    if (contains(conversation.title, query) || contains(conversation.selection.value_or(QString()), query))
        return true;
    for (const HistoryStore::Turn& turn : conversation.turns) {
        if (contains(turn.answer, query) || contains(turn.question.value_or(QString()), query))
            return true;
    }
    return false;
}

} // namespace

QList<Filter> allFilters()
{
    return {Filter::All, Filter::Chats, Filter::Ask, Filter::Research, Filter::Rewrites, Filter::Explain};
}

QString label(Filter filter)
{
    switch (filter) {
    case Filter::All:
        return QCoreApplication::translate("HistoryListing", "All");
    case Filter::Chats:
        return QCoreApplication::translate("HistoryListing", "Chats");
    case Filter::Ask:
        return QCoreApplication::translate("HistoryListing", "Ask AI");
    case Filter::Research:
        return QCoreApplication::translate("HistoryListing", "Research");
    case Filter::Rewrites:
        return QCoreApplication::translate("HistoryListing", "Rewrites");
    case Filter::Explain:
        return QCoreApplication::translate("HistoryListing", "Explain, Translate, Search");
    }
    return {};
}

bool lists(Filter filter, Kind kind)
{
    switch (filter) {
    case Filter::All:
        return true;
    case Filter::Chats:
        return kind == Kind::Chat;
    case Filter::Ask:
        return kind == Kind::Ask;
    case Filter::Research:
        return kind == Kind::Research;
    case Filter::Rewrites:
        return kind == Kind::Rewrite;
    case Filter::Explain:
        return kind == Kind::Explain || kind == Kind::Translate || kind == Kind::Search;
    }
    return false;
}

QList<HistoryStore::Conversation> filtered(const QList<HistoryStore::Conversation>& conversations, Filter filter,
                                           const QString& search)
{
    const QString query = trimmedHorizontally(search);
    QList<HistoryStore::Conversation> result;
    for (const HistoryStore::Conversation& conversation : conversations) {
        if (lists(filter, conversation.kind) && (query.isEmpty() || matches(conversation, query)))
            result.append(conversation);
    }
    return result;
}

QString groupLabel(const QDateTime& updatedAt, const QDateTime& now, const QTimeZone& zone)
{
    const QDateTime localNow = now.toTimeZone(zone);
    const QDate day = updatedAt.toTimeZone(zone).date();
    if (day == localNow.date())
        return QCoreApplication::translate("HistoryListing", "Today");
    if (day == localNow.date().addDays(-1))
        return QCoreApplication::translate("HistoryListing", "Yesterday");
    QDateTime weekAgo = localNow.addDays(-7);
    if (!weekAgo.isValid())
        weekAgo = localNow;
    return updatedAt > weekAgo ? QCoreApplication::translate("HistoryListing", "Previous 7 days")
                               : QCoreApplication::translate("HistoryListing", "Earlier");
}

QList<Group> groups(const QList<HistoryStore::Conversation>& conversations, const QDateTime& now, const QTimeZone& zone)
{
    QList<Group> result{{QCoreApplication::translate("HistoryListing", "Today"), {}},
                        {QCoreApplication::translate("HistoryListing", "Yesterday"), {}},
                        {QCoreApplication::translate("HistoryListing", "Previous 7 days"), {}},
                        {QCoreApplication::translate("HistoryListing", "Earlier"), {}}};
    for (const HistoryStore::Conversation& conversation : conversations) {
        const QString label = groupLabel(conversation.updatedAt, now, zone);
        for (Group& group : result) {
            if (group.label == label)
                group.conversations.append(conversation);
        }
    }
    result.removeIf([](const Group& group) { return group.conversations.isEmpty(); });
    return result;
}

QString kindLabel(Kind kind)
{
    switch (kind) {
    case Kind::Chat:
        return QCoreApplication::translate("HistoryListing", "Chat");
    case Kind::Ask:
        return QCoreApplication::translate("HistoryListing", "Ask AI");
    case Kind::Explain:
        return QCoreApplication::translate("HistoryListing", "Explain");
    case Kind::Translate:
        return QCoreApplication::translate("HistoryListing", "Translate");
    case Kind::Search:
        return QCoreApplication::translate("HistoryListing", "Web search");
    case Kind::Research:
        return QCoreApplication::translate("HistoryListing", "Research");
    case Kind::Rewrite:
        return QCoreApplication::translate("HistoryListing", "Rewrite");
    }
    return {};
}

QString kindIconName(Kind kind)
{
    switch (kind) {
    case Kind::Chat:
        return QStringLiteral("conversation");
    case Kind::Ask:
        return QStringLiteral("sparkles");
    case Kind::Explain:
        return QStringLiteral("dialog-information");
    case Kind::Translate:
        return QStringLiteral("preferences-desktop-locale");
    case Kind::Search:
        return QStringLiteral("applications-internet");
    case Kind::Research:
        return QStringLiteral("accessories-dictionary");
    case Kind::Rewrite:
        return QStringLiteral("document-edit");
    }
    return {};
}

QString subtitle(const HistoryStore::Conversation& conversation)
{
    QString text = conversation.style.value_or(kindLabel(conversation.kind));
    if (conversation.appName)
        text = QCoreApplication::translate("HistoryListing", "%1 in %2").arg(text, *conversation.appName);
    return text;
}

} // namespace HistoryListing
