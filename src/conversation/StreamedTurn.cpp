#include "conversation/StreamedTurn.h"

#include "conversation/TokenSource.h"

#include <QCoreApplication>

namespace StreamedTurn {

QString lengthLimitNotice()
{
    return QCoreApplication::translate("StreamedTurn", "The answer hit the length limit and was cut off.");
}

ErrorFix fix(const TurnError& error, TokenSource* account)
{
    return ErrorFixes::fix(error, [account] {
        if (account)
            account->clearLocalSession();
    });
}

bool addSource(QList<WebSource>& list, const WebSource& source)
{
    if (list.contains(source))
        return false;
    list.append(source);
    return true;
}

QList<WebSource> sources(const QList<WebSource>& cited, const QList<WebSource>& found)
{
    return cited.isEmpty() ? found.first(std::min<qsizetype>(found.size(), maxFoundSources)) : cited;
}

QList<HistoryStore::Source> historySources(const QList<WebSource>& sources)
{
    QList<HistoryStore::Source> converted;
    converted.reserve(sources.size());
    for (const WebSource& source : sources)
        converted.append({source.title, source.url});
    return converted;
}

bool apply(ConversationTurn& turn, const ClaudeEvent& event, const StatusSetter& setStatus)
{
    switch (event.kind) {
    case ClaudeEvent::Kind::TextDelta:
        turn.answer += event.text;
        setStatus(std::nullopt);
        return !event.text.isEmpty();
    case ClaudeEvent::Kind::Status:
        if (event.status || !turn.answer.isEmpty())
            setStatus(event.status);
        return false;
    case ClaudeEvent::Kind::Source:
        return addSource(event.cited ? turn.citedSources : turn.foundSources, event.source);
    }
    return false;
}

qsizetype indexOf(const QList<ConversationTurn>& turns, const QUuid& turnID)
{
    for (qsizetype i = turns.size() - 1; i >= 0; --i) {
        if (turns[i].id == turnID)
            return i;
    }
    return -1;
}

bool apply(QList<ConversationTurn>& turns, const QUuid& turnID, const ClaudeEvent& event, const StatusSetter& setStatus)
{
    const qsizetype index = indexOf(turns, turnID);
    return index >= 0 && apply(turns[index], event, setStatus);
}

bool settle(QList<ConversationTurn>& turns, const QUuid& turnID, const QString& text)
{
    const qsizetype index = indexOf(turns, turnID);
    if (index < 0 || text.isEmpty() || turns[index].answer == text)
        return false;
    turns[index].answer = text;
    return true;
}

bool dropUnanswered(QList<ConversationTurn>& turns, const QUuid& turnID, bool discardAnswer)
{
    const qsizetype index = indexOf(turns, turnID);
    if (index < 0 || !(discardAnswer || turns[index].answer.isEmpty()))
        return false;
    turns.removeAt(index);
    return true;
}

} // namespace StreamedTurn
