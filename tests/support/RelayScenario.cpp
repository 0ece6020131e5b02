#include "RelayScenario.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

namespace {

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

void applyOptions(QJsonObject& step, const RelayScenario::StreamOptions& options)
{
    if (options.delayMs > 0)
        step.insert("delay_ms", options.delayMs);
    if (options.cutAfter >= 0)
        step.insert("cut_after", options.cutAfter);
    if (options.stallAfter >= 0)
        step.insert("stall_after", options.stallAfter);
}

} // namespace

RelayScenario::RelayScenario() = default;

void RelayScenario::addStep(QJsonObject step, const QString& path)
{
    if (!path.isEmpty())
        step.insert("path", path);
    QString name = QStringLiteral("%1.json").arg(++m_count, 3, 10, QLatin1Char('0'));
    writeFile(m_dir.filePath(name), QJsonDocument(step).toJson());
}

void RelayScenario::addResponse(int status, const QByteArray& body, const QMap<QString, QString>& headers,
                                const QString& path)
{
    QJsonObject headerObject;
    for (auto it = headers.begin(); it != headers.end(); ++it)
        headerObject.insert(it.key(), it.value());
    addStep({{"status", status}, {"body", QString::fromUtf8(body)}, {"headers", headerObject}}, path);
}

void RelayScenario::addError(int status, const QString& type, const QString& message, const QString& path)
{
    addResponse(status, errorBody(type, message), {}, path);
}

void RelayScenario::addStream(const QList<QJsonObject>& events, const StreamOptions& options, const QString& path)
{
    addRawStream(formatEvents(events), options, path);
}

void RelayScenario::addRawStream(const QByteArray& sse, const StreamOptions& options, const QString& path)
{
    QString eventsFile = QStringLiteral("%1.events").arg(m_count + 1, 3, 10, QLatin1Char('0'));
    writeFile(m_dir.filePath(eventsFile), sse);
    QJsonObject step{{"sse_file", eventsFile}};
    applyOptions(step, options);
    addStep(step, path);
}

QByteArray RelayScenario::errorBody(const QString& type, const QString& message)
{
    QJsonObject error{{"type", type}, {"message", message}};
    return QJsonDocument(QJsonObject{{"type", "error"}, {"error", error}}).toJson(QJsonDocument::Compact);
}

QList<QJsonObject> RelayScenario::textEvents(const QStringList& pieces, const QString& stopReason)
{
    QJsonObject message{{"id", "msg_scenario"}, {"type", "message"},  {"role", "assistant"},
                        {"content", QJsonArray()}, {"model", "scenario"}, {"stop_reason", QJsonValue()}};
    QList<QJsonObject> events{{{"type", "message_start"}, {"message", message}},
                              {{"type", "content_block_start"}, {"index", 0}, {"content_block", QJsonObject{{"type", "text"}, {"text", ""}}}}};
    for (const QString& piece : pieces)
        events.append({{"type", "content_block_delta"}, {"index", 0}, {"delta", QJsonObject{{"type", "text_delta"}, {"text", piece}}}});
    events.append({{"type", "content_block_stop"}, {"index", 0}});
    QJsonObject delta{{"stop_reason", stopReason.isEmpty() ? QJsonValue() : QJsonValue(stopReason)}};
    events.append({{"type", "message_delta"}, {"delta", delta}, {"usage", QJsonObject{{"output_tokens", 1}}}});
    events.append({{"type", "message_stop"}});
    return events;
}

QByteArray RelayScenario::formatEvents(const QList<QJsonObject>& events)
{
    QByteArray out;
    for (const QJsonObject& event : events)
        out += "event: " + event.value("type").toString().toUtf8() + "\ndata: " +
               QJsonDocument(event).toJson(QJsonDocument::Compact) + "\n\n";
    return out;
}
