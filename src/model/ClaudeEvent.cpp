#include "model/ClaudeEvent.h"

ClaudeEvent ClaudeEvent::textDelta(const QString& text)
{
    ClaudeEvent event;
    event.kind = Kind::TextDelta;
    event.text = text;
    return event;
}

ClaudeEvent ClaudeEvent::statusLine(const std::optional<QString>& status)
{
    ClaudeEvent event;
    event.kind = Kind::Status;
    event.status = status;
    return event;
}

ClaudeEvent ClaudeEvent::foundSource(const WebSource& source, bool cited)
{
    ClaudeEvent event;
    event.kind = Kind::Source;
    event.source = source;
    event.cited = cited;
    return event;
}

QJsonObject ClaudeEvent::toJson() const
{
    switch (kind) {
    case Kind::TextDelta:
        return {{QStringLiteral("type"), QStringLiteral("textDelta")}, {QStringLiteral("text"), text}};
    case Kind::Status:
        return {{QStringLiteral("type"), QStringLiteral("status")},
                {QStringLiteral("status"), status ? QJsonValue(*status) : QJsonValue(QJsonValue::Null)}};
    case Kind::Source:
        break;
    }
    return {{QStringLiteral("type"), QStringLiteral("source")},
            {QStringLiteral("title"), source.title},
            {QStringLiteral("url"), source.url.toString(QUrl::FullyEncoded)},
            {QStringLiteral("cited"), cited}};
}

bool ClaudeEvent::operator==(const ClaudeEvent& other) const
{
    if (kind != other.kind)
        return false;
    switch (kind) {
    case Kind::TextDelta:
        return text == other.text;
    case Kind::Status:
        return status == other.status;
    case Kind::Source:
        break;
    }
    return source == other.source && cited == other.cited;
}
