#pragma once

#include <QJsonObject>
#include <QList>

// Pure functions over the content blocks of a finished turn.
namespace ConversationHistory {

// The answer text: the "text" of every text block, in order, joined without separator.
QString text(const QList<QJsonObject>& of);

// The blocks that are safe to send back as an assistant message. Blocks after the last
// "fallback" marker are kept (the marker itself is dropped); before it only text blocks,
// tool results and server tool uses whose result is present survive. Without a marker the
// list is returned unchanged.
QList<QJsonObject> sanitized(const QList<QJsonObject>& content);

} // namespace ConversationHistory
