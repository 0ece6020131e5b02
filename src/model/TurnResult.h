#pragma once

#include "model/TurnError.h"

#include <QJsonObject>
#include <QList>
#include <optional>
#include <variant>

// What a finished model turn returns: its content blocks, in the order the model produced
// them over every request of the turn, and the stop reason of its last request.
struct TurnResult {
    QList<QJsonObject> content;
    std::optional<QString> stopReason;

    bool operator==(const TurnResult& other) const = default;
};

// How a turn (or one request of it) ended.
using TurnOutcome = std::variant<TurnResult, TurnError>;
