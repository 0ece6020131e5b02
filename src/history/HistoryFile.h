#pragma once

#include "history/HistoryStore.h"

#include <QByteArray>
#include <QList>
#include <optional>

// The history file: one compact JSON array of conversation objects, newest first. Ids are
// upper-case UUIDs, dates are UTC with whole seconds and a trailing "Z", and the optional
// keys ("selection", "appName", "style", a turn's "question") are left out when absent.
// Reading is all or nothing: an unknown kind, a missing key or a value of the wrong type
// makes the whole file unreadable.
namespace HistoryFile {

QByteArray encode(const QList<HistoryStore::Conversation>& conversations);
std::optional<QList<HistoryStore::Conversation>> decode(const QByteArray& bytes);

// "2025-03-04T10:15:30Z"; fractions of a second are dropped.
QString encodeDate(const QDateTime& date);
// Accepts whole-second internet date-times with "Z" or a numeric offset; nothing otherwise.
std::optional<QDateTime> decodeDate(const QString& text);

} // namespace HistoryFile
