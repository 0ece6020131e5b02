#pragma once

#include "conversation/ConversationTurn.h"
#include "history/HistoryStore.h"
#include "model/ClaudeEvent.h"
#include "model/ErrorFix.h"

#include <QList>
#include <QUuid>
#include <functional>
#include <optional>

class TokenSource;

// How a streamed event changes one turn of a conversation and the status line above it, how a
// finished or failed turn settles, and which sources a turn lists. Shared by the result
// panel's and the chat's turns.
namespace StreamedTurn {

// The most found sources listed with an answer that cites nothing.
constexpr int maxFoundSources = 6;

using StatusSetter = std::function<void(const std::optional<QString>& status)>;

// The notice under an answer that the model cut off at its length limit.
QString lengthLimitNotice();
// The remedy for a failed turn; a 401 first ends the local session of the account, if any.
ErrorFix fix(const TurnError& error, TokenSource* account);

// Adds a source unless an equal one (same title and URL) is already listed; true when added.
bool addSource(QList<WebSource>& list, const WebSource& source);
// The cited sources, or when there are none the first maxFoundSources found ones.
QList<WebSource> sources(const QList<WebSource>& cited, const QList<WebSource>& found);
QList<HistoryStore::Source> historySources(const QList<WebSource>& sources);

// Applies an event to a turn: text grows the answer and clears the status; a status line is
// shown, and an empty one clears it only once some answer text is there; sources are listed
// once. Returns whether the turn itself changed.
bool apply(ConversationTurn& turn, const ClaudeEvent& event, const StatusSetter& setStatus);
// The index of the turn with this id, searching from the newest; -1 once it is gone.
qsizetype indexOf(const QList<ConversationTurn>& turns, const QUuid& turnID);
// Applies an event to the turn with this id; an event for a turn no longer listed is ignored.
// Returns whether the list changed.
bool apply(QList<ConversationTurn>& turns, const QUuid& turnID, const ClaudeEvent& event,
           const StatusSetter& setStatus);
// Puts the finished answer text in place of the streamed one, unless it is empty or the same.
// Returns whether the list changed.
bool settle(QList<ConversationTurn>& turns, const QUuid& turnID, const QString& text);
// After a failure: removes the turn when it has no answer, or whatever it has when
// discardAnswer (a refused answer). A partial answer otherwise stays. Returns whether it did.
bool dropUnanswered(QList<ConversationTurn>& turns, const QUuid& turnID, bool discardAnswer = false);

} // namespace StreamedTurn
