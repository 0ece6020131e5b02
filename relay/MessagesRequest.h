#pragma once

#include <QJsonObject>
#include <QString>

#include <optional>
#include <string>

// A model request body as the relay accepts it: a JSON object with a `messages` array of
// message objects (`role` a string, `content` a string or a list of blocks). `parse` rejects
// anything else with a sentence for the error body. The accessors feed the offline demo.
class MessagesRequest {
public:
    static std::optional<MessagesRequest> parse(const std::string& body, std::string* error);

    const QJsonObject& body() const { return m_body; }
    QString system() const;
    QString firstUserText() const;
    QString lastUserText() const;
    // The text between <selected_text> lines of the first user message, else the last user text.
    QString selection() const;
    bool hasTool(const QString& name) const;

private:
    QJsonObject m_body;
};
