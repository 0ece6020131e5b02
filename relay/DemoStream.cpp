#include "DemoStream.h"

#include "SseEvents.h"

#include <QJsonArray>

DemoStream::DemoStream(const QString& messageId)
{
    QJsonObject usage{{"input_tokens", 0}, {"output_tokens", 0}};
    QJsonObject message{{"id", messageId},         {"type", "message"},
                        {"role", "assistant"},     {"model", "halvora-offline-demo"},
                        {"content", QJsonArray()}, {"stop_reason", QJsonValue()},
                        {"usage", usage}};
    add({{"type", "message_start"}, {"message", message}});
    add({{"type", "ping"}});
}

void DemoStream::add(const QJsonObject& event)
{
    m_events.push_back(SseEvents::format(event));
}

void DemoStream::start(const QJsonObject& block)
{
    add({{"type", "content_block_start"}, {"index", m_index}, {"content_block", block}});
}

void DemoStream::delta(const QJsonObject& delta)
{
    add({{"type", "content_block_delta"}, {"index", m_index}, {"delta", delta}});
}

void DemoStream::stop()
{
    add({{"type", "content_block_stop"}, {"index", m_index++}});
}

void DemoStream::text(const QString& text)
{
    start({{"type", "text"}, {"text", ""}});
    streamText(text);
    stop();
}

void DemoStream::streamText(const QString& text)
{
    for (const QString& piece : pieces(text))
        delta({{"type", "text_delta"}, {"text", piece}});
}

std::vector<std::string> DemoStream::finish(int outputTokens)
{
    QJsonObject delta{{"stop_reason", "end_turn"}, {"stop_sequence", QJsonValue()}};
    add({{"type", "message_delta"}, {"delta", delta}, {"usage", QJsonObject{{"output_tokens", outputTokens}}}});
    add({{"type", "message_stop"}});
    return std::move(m_events);
}

std::vector<QString> DemoStream::pieces(const QString& text)
{
    std::vector<QString> out;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = std::min(text.size(), start + 12);
        while (end < text.size() && !text.at(end - 1).isSpace() && end - start < 24)
            ++end;
        if (end < text.size() && text.at(end - 1).isHighSurrogate())
            ++end;
        out.push_back(text.mid(start, end - start));
        start = end;
    }
    return out;
}

QString DemoStream::oneLine(const QString& text, int limit)
{
    QString line = text.simplified();
    return line.size() > limit ? line.left(limit - 1) + QChar(0x2026) : line;
}
