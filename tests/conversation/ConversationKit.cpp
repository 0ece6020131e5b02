#include "conversation/ConversationKit.h"

#include "platform/MemoryPreferences.h"
#include "platform/Preferences.h"

#include <QJsonArray>
#include <QJsonDocument>

void StubAccount::clearLocalSession()
{
    ++sessionsCleared;
    current.reset();
}

ConversationKit::ConversationKit()
{
    Preferences::setInstance(std::make_unique<MemoryPreferences>());
    history = std::make_unique<HistoryStore>(dir.filePath(QStringLiteral("History.json")), platform.clock);
}

bool ConversationKit::start()
{
    if (!relay.startScenario(scenario.dir()))
        return false;
    network = std::make_unique<QNetworkAccessManager>();
    client = std::make_unique<ClaudeClient>(relay.baseUrl(), &platform.clock, network.get());
    return true;
}

ConversationServices ConversationKit::services()
{
    ConversationServices services;
    services.client = client.get();
    services.account = &account;
    services.history = history.get();
    services.navigation = &navigation;
    services.mainWindow = &mainWindow;
    services.announcer = &announcer;
    services.clock = &platform.clock;
    services.replaceText = [this](const Selection& selection, const QString& text) {
        replacements.append({selection, text});
    };
    return services;
}

QList<QJsonObject> ConversationKit::requestBodies() const
{
    QList<QJsonObject> bodies;
    for (const QJsonObject& request : relay.recordedRequests()) {
        if (request.value(QStringLiteral("path")).toString().endsWith(QStringLiteral("messages")))
            bodies.append(QJsonDocument::fromJson(request.value(QStringLiteral("body")).toString().toUtf8()).object());
    }
    return bodies;
}

QStringList ConversationKit::messageContents(const QJsonObject& body)
{
    QStringList contents;
    for (const QJsonValue& message : body.value(QStringLiteral("messages")).toArray()) {
        const QJsonValue content = message.toObject().value(QStringLiteral("content"));
        contents.append(content.isString()
                            ? content.toString()
                            : QString::fromUtf8(QJsonDocument(content.toArray()).toJson(QJsonDocument::Compact)));
    }
    return contents;
}

WebSource ConversationKit::source(int number)
{
    return {QStringLiteral("Page %1").arg(number), QUrl(QStringLiteral("https://example.org/%1").arg(number))};
}

namespace {

QJsonObject blockStart(int index, const QJsonObject& block)
{
    return {{"type", "content_block_start"}, {"index", index}, {"content_block", block}};
}

QJsonObject blockDelta(int index, const QJsonObject& delta)
{
    return {{"type", "content_block_delta"}, {"index", index}, {"delta", delta}};
}

QJsonObject blockStop(int index)
{
    return {{"type", "content_block_stop"}, {"index", index}};
}

QJsonObject searchResult(const WebSource& source)
{
    return {{"type", "web_search_result"}, {"title", source.title}, {"url", source.url.toString()}};
}

} // namespace

QList<QJsonObject> ConversationKit::searchEvents(const QList<WebSource>& found, const QStringList& pieces,
                                                 const QList<WebSource>& cited)
{
    QList<QJsonObject> events = RelayScenario::textEvents({});
    const QList<QJsonObject> tail = events.mid(3); // message_delta, message_stop
    events = {events.first()};
    events.append(
        blockStart(0, {{"type", "server_tool_use"}, {"id", "s1"}, {"name", "web_search"}, {"input", QJsonObject()}}));
    events.append(blockStop(0));
    QJsonArray results;
    for (const WebSource& source : found)
        results.append(searchResult(source));
    events.append(blockStart(1, {{"type", "web_search_tool_result"}, {"tool_use_id", "s1"}, {"content", results}}));
    events.append(blockStop(1));
    events.append(blockStart(2, {{"type", "text"}, {"text", ""}}));
    for (const QString& piece : pieces)
        events.append(blockDelta(2, {{"type", "text_delta"}, {"text", piece}}));
    for (const WebSource& source : cited)
        events.append(blockDelta(2, {{"type", "citations_delta"}, {"citation", searchResult(source)}}));
    events.append(blockStop(2));
    return events + tail;
}
