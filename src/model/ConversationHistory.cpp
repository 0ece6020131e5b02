#include "model/ConversationHistory.h"

#include <QSet>

namespace ConversationHistory {

namespace {

QString typeOf(const QJsonObject& block)
{
    return block.value(QStringLiteral("type")).toString();
}

bool isToolResult(const QJsonObject& block)
{
    return typeOf(block).endsWith(QStringLiteral("_tool_result"));
}

QSet<QString> answeredToolUses(const QList<QJsonObject>& content)
{
    QSet<QString> ids;
    for (const QJsonObject& block : content) {
        const QJsonValue id = block.value(QStringLiteral("tool_use_id"));
        if (isToolResult(block) && id.isString())
            ids.insert(id.toString());
    }
    return ids;
}

bool keptBeforeMarker(const QJsonObject& block, const QSet<QString>& answered)
{
    const QString type = typeOf(block);
    if (type == QStringLiteral("text") || isToolResult(block))
        return true;
    const QJsonValue id = block.value(QStringLiteral("id"));
    return type == QStringLiteral("server_tool_use") && id.isString() && answered.contains(id.toString());
}

} // namespace

QString text(const QList<QJsonObject>& of)
{
    QString answer;
    for (const QJsonObject& block : of) {
        const QJsonValue value = block.value(QStringLiteral("text"));
        if (typeOf(block) == QStringLiteral("text") && value.isString())
            answer += value.toString();
    }
    return answer;
}

QList<QJsonObject> sanitized(const QList<QJsonObject>& content)
{
    qsizetype marker = -1;
    for (qsizetype i = 0; i < content.size(); ++i) {
        if (typeOf(content[i]) == QStringLiteral("fallback"))
            marker = i;
    }
    if (marker < 0)
        return content;
    const QSet<QString> answered = answeredToolUses(content);
    QList<QJsonObject> kept;
    for (qsizetype i = 0; i < content.size(); ++i) {
        const bool keep = i < marker ? keptBeforeMarker(content[i], answered) : i != marker;
        if (keep)
            kept.append(content[i]);
    }
    return kept;
}

} // namespace ConversationHistory
