#pragma once

#include <QByteArray>
#include <QJsonValue>
#include <optional>

namespace JsonText {

// Parses UTF-8 JSON text holding any JSON value (object, array, string, number, boolean or
// null). On failure returns none and, when asked, the parser's description of the fault.
std::optional<QJsonValue> parse(const QByteArray& text, QString* error = nullptr);

} // namespace JsonText
