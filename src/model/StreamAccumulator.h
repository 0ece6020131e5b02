#pragma once

#include "model/ClaudeError.h"
#include "model/ClaudeEvent.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <functional>
#include <map>
#include <optional>

// Decodes the events of one streamed model response. Each event object is turned at once
// into ClaudeEvents for the user interface (answer text, status lines, sources) and, at the
// same time, into the response's content blocks, kept as the JSON objects the service sent
// (extended by the deltas) so that a later request can replay them unchanged.
class StreamAccumulator {
public:
    using EventHandler = std::function<void(const ClaudeEvent&)>;

    explicit StreamAccumulator(EventHandler onEvent) : m_onEvent(std::move(onEvent)) {}

    // Takes one event object, in stream order. Fails only on an "error" event.
    std::optional<ClaudeError> handle(const QJsonObject& event);
    // Takes a text delta for the block at `index`, as handle() does for a "content_block_delta"
    // event with a "text_delta", for callers that read those events without a JSON document.
    void appendText(int index, const QString& piece);

    // Every block, by ascending stream index.
    QList<QJsonObject> orderedContent() const;
    const std::optional<QString>& stopReason() const { return m_stopReason; }
    const std::optional<QString>& refusalExplanation() const { return m_refusalExplanation; }

    // A source from an object with "url" and "title": the title, else the URL's host, else
    // the URL. None without a string "url" that parses as a URL.
    static std::optional<WebSource> source(const QJsonObject& from);

private:
    // A block under construction. Streamed text is collected in buffers and written into the
    // object only when it is read: replacing a value in a QJsonObject copies it, which would
    // make a long answer quadratic.
    struct Block {
        QJsonObject object;
        std::optional<QString> text;
        std::optional<QString> thinking;
        std::optional<QJsonArray> citations;

        QJsonObject materialized() const;
    };

    void startBlock(const QJsonObject& event);
    void applyDelta(const QJsonObject& event);
    void applyCitation(Block& block, const QJsonValue& citation);
    void stopBlock(const QJsonObject& event);
    void applyMessageDelta(const QJsonObject& event);
    static ClaudeError streamError(const QJsonObject& event);
    void blockStarted(const QJsonObject& block);
    void searchResultsArrived(const QJsonObject& block);
    void fetchResultArrived(const QJsonObject& block);
    void toolInputReady(const QJsonObject& block);
    void send(const ClaudeEvent& event);

    EventHandler m_onEvent;
    std::map<int, Block> m_blocks;
    std::map<int, QString> m_toolInputBuffers;
    std::optional<QString> m_stopReason;
    std::optional<QString> m_refusalExplanation;
};
