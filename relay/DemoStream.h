#pragma once

#include <QJsonObject>
#include <QString>
#include <string>
#include <vector>

// Builds a Messages API event stream for the offline demo, block by block: message_start
// and a ping, numbered content blocks with their deltas, then message_delta and message_stop.
class DemoStream {
public:
    explicit DemoStream(const QString& messageId);

    void add(const QJsonObject& event);
    // Starts the next block; deltas and stop() apply to it.
    void start(const QJsonObject& block);
    void delta(const QJsonObject& delta);
    void stop();
    // A whole text block streamed in small pieces.
    void text(const QString& text);
    void streamText(const QString& text);
    std::vector<std::string> finish(int outputTokens);

    // Splits text into the small pieces the demo streams, never inside a surrogate pair.
    static std::vector<QString> pieces(const QString& text);
    // The text on one line, cut to `limit` characters with an ellipsis.
    static QString oneLine(const QString& text, int limit);

private:
    std::vector<std::string> m_events;
    int m_index = 0;
};
