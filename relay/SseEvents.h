#pragma once

#include <QJsonObject>

#include <string>
#include <vector>

// Server-sent events as the Messages API streams them: an "event:" line naming the type and
// a "data:" line with the compact JSON object, then a blank line.
namespace SseEvents {

std::string format(const QJsonObject& data);

// Splits raw event-stream text into events, each ending with its blank line (LF or CRLF).
// Bytes are kept exactly, malformed lines included; trailing text without a blank line is
// the last event.
std::vector<std::string> split(const std::string& text);

} // namespace SseEvents
