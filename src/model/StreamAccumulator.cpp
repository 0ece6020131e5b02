#include "model/StreamAccumulator.h"

#include "model/JsonText.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>

namespace {

QString key(const char* name)
{
    return QString::fromLatin1(name);
}

// The stream index of an event, when it is an integral JSON number.
std::optional<int> indexOf(const QJsonObject& event)
{
    const QJsonValue value = event.value(key("index"));
    if (!value.isDouble())
        return std::nullopt;
    const double number = value.toDouble();
    if (number != std::floor(number) || std::abs(number) > 2147483647.0)
        return std::nullopt;
    return int(number);
}

std::optional<QUrl> parsedUrl(const QJsonValue& value)
{
    if (!value.isString() || value.toString().isEmpty())
        return std::nullopt;
    const QUrl url(value.toString(), QUrl::StrictMode);
    if (!url.isValid())
        return std::nullopt;
    return url;
}

QString hostOrUrl(const QUrl& url)
{
    const QString host = url.host(QUrl::FullyEncoded);
    return host.isEmpty() ? url.toString(QUrl::FullyEncoded) : host;
}

bool isListOfObjects(const QJsonValue& value)
{
    if (!value.isArray())
        return false;
    const QJsonArray array = value.toArray();
    return std::all_of(array.begin(), array.end(), [](const QJsonValue& item) { return item.isObject(); });
}

} // namespace

std::optional<ClaudeError> StreamAccumulator::handle(const QJsonObject& event)
{
    const QString type = event.value(key("type")).toString();
    if (type == key("content_block_start"))
        startBlock(event);
    else if (type == key("content_block_delta"))
        applyDelta(event);
    else if (type == key("content_block_stop"))
        stopBlock(event);
    else if (type == key("message_delta"))
        applyMessageDelta(event);
    else if (type == key("error"))
        return streamError(event);
    return std::nullopt;
}

ClaudeError StreamAccumulator::streamError(const QJsonObject& event)
{
    const QJsonObject error = event.value(key("error")).toObject();
    const QJsonValue type = error.value(key("type"));
    const QJsonValue message = error.value(key("message"));
    const int status = type.toString() == key("overloaded_error") ? 529 : 500;
    return ClaudeError::http(status, type.isString() ? std::optional(type.toString()) : std::nullopt,
                             message.isString() ? message.toString()
                                                : QCoreApplication::translate("StreamAccumulator", "Stream error"));
}

QList<QJsonObject> StreamAccumulator::orderedContent() const
{
    QList<QJsonObject> content;
    content.reserve(qsizetype(m_blocks.size()));
    for (const auto& [index, block] : m_blocks)
        content.append(block.materialized());
    return content;
}

QJsonObject StreamAccumulator::Block::materialized() const
{
    QJsonObject result = object;
    if (text)
        result.insert(key("text"), *text);
    if (thinking)
        result.insert(key("thinking"), *thinking);
    if (citations)
        result.insert(key("citations"), *citations);
    return result;
}

void StreamAccumulator::startBlock(const QJsonObject& event)
{
    const std::optional<int> index = indexOf(event);
    const QJsonValue block = event.value(key("content_block"));
    if (!index || !block.isObject())
        return;
    m_blocks[*index] = Block{block.toObject(), std::nullopt, std::nullopt, std::nullopt};
    blockStarted(block.toObject());
}

void StreamAccumulator::applyDelta(const QJsonObject& event)
{
    const std::optional<int> index = indexOf(event);
    const QJsonValue deltaValue = event.value(key("delta"));
    const auto found = index ? m_blocks.find(*index) : m_blocks.end();
    if (!deltaValue.isObject() || found == m_blocks.end())
        return;
    Block& block = found->second;
    const QJsonObject delta = deltaValue.toObject();
    const QString type = delta.value(key("type")).toString();
    if (type == key("text_delta")) {
        appendText(found->first, delta.value(key("text")).toString());
    } else if (type == key("input_json_delta")) {
        m_toolInputBuffers[*index].append(delta.value(key("partial_json")).toString());
    } else if (type == key("citations_delta")) {
        applyCitation(block, delta.value(key("citation")));
    } else if (type == key("thinking_delta")) {
        if (!block.thinking)
            block.thinking = block.object.value(key("thinking")).toString();
        block.thinking->append(delta.value(key("thinking")).toString());
    } else if (type == key("signature_delta")) {
        const QJsonValue signature = delta.value(key("signature"));
        if (signature.isString())
            block.object.insert(key("signature"), signature);
        else
            block.object.remove(key("signature"));
    }
}

void StreamAccumulator::appendText(int index, const QString& piece)
{
    const auto found = m_blocks.find(index);
    if (found == m_blocks.end())
        return;
    Block& block = found->second;
    if (!block.text)
        block.text = block.object.value(key("text")).toString();
    block.text->append(piece);
    send(ClaudeEvent::textDelta(piece));
}

void StreamAccumulator::applyCitation(Block& block, const QJsonValue& citation)
{
    if (!citation.isObject())
        return;
    if (!block.citations) {
        const QJsonValue existing = block.object.value(key("citations"));
        block.citations = isListOfObjects(existing) ? existing.toArray() : QJsonArray();
    }
    block.citations->append(citation);
    if (const std::optional<WebSource> found = source(citation.toObject()))
        send(ClaudeEvent::foundSource(*found, true));
}

void StreamAccumulator::stopBlock(const QJsonObject& event)
{
    const std::optional<int> index = indexOf(event);
    const auto found = index ? m_blocks.find(*index) : m_blocks.end();
    if (found == m_blocks.end())
        return;
    const auto buffered = m_toolInputBuffers.find(*index);
    if (buffered == m_toolInputBuffers.end())
        return;
    const QByteArray input = buffered->second.toUtf8();
    m_toolInputBuffers.erase(buffered);
    if (input.isEmpty())
        return;
    const std::optional<QJsonValue> parsed = JsonText::parse(input.trimmed());
    if (!parsed)
        return;
    Block& block = found->second;
    block.object.insert(key("input"), *parsed);
    if (block.object.value(key("type")).toString() == key("server_tool_use"))
        toolInputReady(block.object);
}

void StreamAccumulator::applyMessageDelta(const QJsonObject& event)
{
    const QJsonValue deltaValue = event.value(key("delta"));
    if (!deltaValue.isObject())
        return;
    const QJsonObject delta = deltaValue.toObject();
    const QJsonValue stopReason = delta.value(key("stop_reason"));
    if (stopReason.isString())
        m_stopReason = stopReason.toString();
    const QJsonValue details = delta.value(key("stop_details"));
    if (details.isObject()) {
        const QJsonValue explanation = details.toObject().value(key("explanation"));
        m_refusalExplanation =
            explanation.isString() ? std::optional(explanation.toString()) : std::optional<QString>();
    }
}

void StreamAccumulator::blockStarted(const QJsonObject& block)
{
    const QString type = block.value(key("type")).toString();
    if (type == key("server_tool_use")) {
        const bool fetch = block.value(key("name")).toString() == key("web_fetch");
        send(ClaudeEvent::statusLine(fetch ? QCoreApplication::translate("StreamAccumulator", "Reading a page…")
                                           : QCoreApplication::translate("StreamAccumulator", "Searching the web…")));
    } else if (type == key("web_search_tool_result")) {
        searchResultsArrived(block);
    } else if (type == key("web_fetch_tool_result")) {
        fetchResultArrived(block);
    } else if (type == key("text")) {
        send(ClaudeEvent::statusLine(std::nullopt));
        const QString text = block.value(key("text")).toString();
        if (!text.isEmpty())
            send(ClaudeEvent::textDelta(text));
    }
}

void StreamAccumulator::searchResultsArrived(const QJsonObject& block)
{
    const QJsonValue content = block.value(key("content"));
    if (content.isArray()) {
        for (const QJsonValue& item : content.toArray()) {
            if (!item.isObject())
                continue;
            if (const std::optional<WebSource> found = source(item.toObject()))
                send(ClaudeEvent::foundSource(*found, false));
        }
    }
    send(ClaudeEvent::statusLine(QCoreApplication::translate("StreamAccumulator", "Reading results…")));
}

void StreamAccumulator::fetchResultArrived(const QJsonObject& block)
{
    const QJsonObject content = block.value(key("content")).toObject();
    if (const std::optional<QUrl> url = parsedUrl(content.value(key("url")))) {
        const QJsonValue title = content.value(key("content")).toObject().value(key("title"));
        send(ClaudeEvent::foundSource({title.isString() ? title.toString() : hostOrUrl(*url), *url}, false));
    }
    send(ClaudeEvent::statusLine(QCoreApplication::translate("StreamAccumulator", "Reading results…")));
}

void StreamAccumulator::toolInputReady(const QJsonObject& block)
{
    const QJsonObject input = block.value(key("input")).toObject();
    const QJsonValue query = input.value(key("query"));
    const QJsonValue url = input.value(key("url"));
    if (query.isString())
        send(ClaudeEvent::statusLine(
            QCoreApplication::translate("StreamAccumulator", "Searching: %1").arg(query.toString())));
    else if (url.isString())
        send(ClaudeEvent::statusLine(
            QCoreApplication::translate("StreamAccumulator", "Reading: %1").arg(url.toString())));
}

std::optional<WebSource> StreamAccumulator::source(const QJsonObject& from)
{
    const std::optional<QUrl> url = parsedUrl(from.value(key("url")));
    if (!url)
        return std::nullopt;
    const QJsonValue title = from.value(key("title"));
    const bool hasTitle = title.isString() && !title.toString().isEmpty();
    return WebSource{hasTitle ? title.toString() : hostOrUrl(*url), *url};
}

void StreamAccumulator::send(const ClaudeEvent& event)
{
    if (m_onEvent)
        m_onEvent(event);
}
