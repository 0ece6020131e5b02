#include "DemoWebSearch.h"

#include "DemoStream.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QUrl>

namespace DemoWebSearch {

namespace {

QJsonArray searchResults(const QString& query)
{
    QJsonArray results;
    const char* hosts[] = {"example.com", "example.org", "example.net"};
    QString slug = QString::fromLatin1(QUrl::toPercentEncoding(DemoStream::oneLine(query, 40)));
    for (int i = 0; i < 3; ++i) {
        results.append(QJsonObject{
            {"type", "web_search_result"},
            {"title", QStringLiteral("Offline demo result %1: %2").arg(i + 1).arg(DemoStream::oneLine(query, 40))},
            {"url", QStringLiteral("https://%1/halvora-demo/%2").arg(QLatin1String(hosts[i]), slug)},
            {"encrypted_content", "b2ZmbGluZSBkZW1v"},
            {"page_age", QJsonValue()}});
    }
    return results;
}

// A server tool call whose JSON input arrives in three pieces.
void toolCall(DemoStream& s, const QString& id, const QString& name, const QJsonObject& input)
{
    s.start({{"type", "server_tool_use"}, {"id", id}, {"name", name}, {"input", QJsonObject()}});
    QString json = QString::fromUtf8(QJsonDocument(input).toJson(QJsonDocument::Compact));
    qsizetype third = json.size() / 3;
    for (const QString& part : {json.left(third), json.mid(third, third), json.mid(2 * third)})
        s.delta({{"type", "input_json_delta"}, {"partial_json", part}});
    s.stop();
}

void fetchFirst(DemoStream& s, const QString& id, const QJsonObject& result)
{
    const QString toolId = QStringLiteral("srvtoolu_demo_fetch_") + id;
    toolCall(s, toolId, QStringLiteral("web_fetch"), {{"url", result.value("url")}});
    QJsonObject source{{"type", "text"}, {"media_type", "text/plain"}, {"data", "Made up by the offline demo."}};
    QJsonObject document{{"type", "document"}, {"source", source}, {"title", result.value("title")}};
    QJsonObject content{{"type", "web_fetch_result"}, {"url", result.value("url")}, {"content", document}};
    s.start({{"type", "web_fetch_tool_result"}, {"tool_use_id", toolId}, {"content", content}});
    s.stop();
}

void citedText(DemoStream& s, const QJsonObject& result, const QString& text)
{
    s.start({{"type", "text"}, {"text", ""}});
    QJsonObject citation{{"type", "web_search_result_location"},
                         {"cited_text", text},
                         {"url", result.value("url")},
                         {"title", result.value("title")},
                         {"encrypted_index", "ZGVtbw"}};
    s.delta({{"type", "citations_delta"}, {"citation", citation}});
    s.streamText(text);
    s.stop();
}

std::vector<std::string> answer(const MessagesRequest& request, const QString& id)
{
    DemoStream s(QStringLiteral("msg_demo_") + id);
    QString query = DemoStream::oneLine(request.selection(), 80);
    QString toolId = QStringLiteral("srvtoolu_demo_") + id;
    toolCall(s, toolId, QStringLiteral("web_search"), {{"query", query}});
    QJsonArray results = searchResults(query);
    s.start({{"type", "web_search_tool_result"}, {"tool_use_id", toolId}, {"content", results}});
    s.stop();
    if (request.hasTool(QStringLiteral("web_fetch")))
        fetchFirst(s, id, results.at(0).toObject());
    s.text(QStringLiteral("## Offline demo search\n\nThe offline demo made up three results for \u201c%1\u201d. ")
               .arg(query));
    citedText(s, results.at(0).toObject(), QStringLiteral("The first result stands in for a real page."));
    s.text(QStringLiteral(" "));
    citedText(s, results.at(1).toObject(), QStringLiteral("The second one backs up the first."));
    s.text(QStringLiteral("\n\nStart the relay with `--upstream` and `--model` for real searches."));
    return s.finish(60);
}

} // namespace

std::vector<std::string> events(const MessagesRequest& request, const QString& id)
{
    return answer(request, id);
}

} // namespace DemoWebSearch
