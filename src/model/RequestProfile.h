#pragma once

#include <QJsonArray>
#include <QString>

class AIAction;

// What a model request carries for its action besides the conversation: the answer length
// limit, the reasoning effort, the action name the service is told, and the server tools.
struct RequestProfile {
    int maxTokens = 16000;
    QString effort = QStringLiteral("medium");
    QString actionHeader = QStringLiteral("ask");
    QJsonArray tools;

    static RequestProfile forAction(const AIAction& action);
};
