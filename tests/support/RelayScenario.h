#pragma once

#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QTemporaryDir>

// How a scripted event stream is replayed.
struct RelayStreamOptions {
    int delayMs = 0;     // between events
    int cutAfter = -1;   // drop the connection after this many events
    int stallAfter = -1; // stop sending after this many events, keep the connection open
};

// Writes the step files of the relay's scenario mode (relay/SCENARIOS.md) into a temporary
// folder, numbered in the order they are added, for RelayProcess::startScenario(dir()).
// Steps are used one per request, in that order, per request path.
class RelayScenario {
public:
    using StreamOptions = RelayStreamOptions;

    RelayScenario();
    QString dir() const { return m_dir.path(); }

    // A fixed answer: status, raw body, extra headers ("content-type" overrides application/json).
    void addResponse(int status, const QByteArray& body = {}, const QMap<QString, QString>& headers = {},
                     const QString& path = {});
    // A Messages-API-style error answer: {"type":"error","error":{"type":type,"message":message}}.
    void addError(int status, const QString& type, const QString& message, const QString& path = {});
    // A 200 event stream of these event objects, each sent as "event: <type>" and "data: <json>".
    void addStream(const QList<QJsonObject>& events, const StreamOptions& options = StreamOptions(), const QString& path = {});
    // A 200 event stream of raw text, replayed byte for byte (events end at blank lines).
    void addRawStream(const QByteArray& sse, const StreamOptions& options = StreamOptions(), const QString& path = {});

    static QByteArray errorBody(const QString& type, const QString& message);
    // A whole message: message_start, one text block streamed in `pieces`, message_delta with
    // `stopReason` (none when empty), message_stop.
    static QList<QJsonObject> textEvents(const QStringList& pieces, const QString& stopReason = "end_turn");
    static QByteArray formatEvents(const QList<QJsonObject>& events);

private:
    void addStep(QJsonObject step, const QString& path);

    QTemporaryDir m_dir;
    int m_count = 0;
};
