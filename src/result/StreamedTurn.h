#pragma once

#include "history/HistoryStore.h"
#include "model/ClaudeEvent.h"

#include <QList>
#include <functional>
#include <optional>

// How a streamed event changes one turn of a conversation and the status line above it, and
// which sources a turn lists. Shared by the result panel's and the chat's turns, which both
// have answer, citedSources and foundSources.
namespace StreamedTurn {

// The most found sources listed with an answer that cites nothing.
constexpr int maxFoundSources = 6;

using StatusSetter = std::function<void(const std::optional<QString>& status)>;

// Adds a source unless an equal one (same title and URL) is already listed; true when added.
bool addSource(QList<WebSource>& list, const WebSource& source);
// The cited sources, or when there are none the first maxFoundSources found ones.
QList<WebSource> sources(const QList<WebSource>& cited, const QList<WebSource>& found);
QList<HistoryStore::Source> historySources(const QList<WebSource>& sources);

// Applies an event to a turn: text grows the answer and clears the status; a status line is
// shown, and an empty one clears it only once some answer text is there; sources are listed
// once. Returns whether the turn itself changed.
template <typename Turn> bool apply(Turn& turn, const ClaudeEvent& event, const StatusSetter& setStatus)
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

} // namespace StreamedTurn
