#pragma once

#include "model/WebSource.h"

#include <QJsonObject>
#include <optional>

// One event decoded from a model stream for the user interface: a piece of answer text, a
// short status line (or none, to clear it), or a web source that was found or cited.
struct ClaudeEvent {
    enum class Kind { TextDelta, Status, Source };

    Kind kind = Kind::TextDelta;
    QString text;                  // TextDelta
    std::optional<QString> status; // Status; none clears the line
    WebSource source;              // Source
    bool cited = false;            // Source

    static ClaudeEvent textDelta(const QString& text);
    static ClaudeEvent statusLine(const std::optional<QString>& status);
    static ClaudeEvent foundSource(const WebSource& source, bool cited);

    // A JSON form for logs and scripts: {"type": "textDelta" | "status" | "source", ...}.
    QJsonObject toJson() const;

    bool operator==(const ClaudeEvent& other) const;
};
