#include "DemoAnswer.h"

#include "SseEvents.h"

#include <QCryptographicHash>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QUrl>

namespace DemoAnswer {

namespace {

// Builds the event list block by block, numbering the blocks.
class Stream {
public:
    explicit Stream(const QString& id)
    {
        QJsonObject usage{{"input_tokens", 0}, {"output_tokens", 0}};
        QJsonObject message{{"id", id},           {"type", "message"},     {"role", "assistant"},
                            {"model", "halvora-offline-demo"}, {"content", QJsonArray()}, {"stop_reason", QJsonValue()},
                            {"usage", usage}};
        add({{"type", "message_start"}, {"message", message}});
        add({{"type", "ping"}});
    }
    void add(const QJsonObject& event) { m_events.push_back(SseEvents::format(event)); }
    int start(const QJsonObject& block)
    {
        add({{"type", "content_block_start"}, {"index", m_index}, {"content_block", block}});
        return m_index;
    }
    void delta(const QJsonObject& delta) { add({{"type", "content_block_delta"}, {"index", m_index}, {"delta", delta}}); }
    void stop() { add({{"type", "content_block_stop"}, {"index", m_index++}}); }
    void text(const QString& text)
    {
        start({{"type", "text"}, {"text", ""}});
        streamText(text);
        stop();
    }
    void streamText(const QString& text)
    {
        for (const QString& piece : pieces(text))
            delta({{"type", "text_delta"}, {"text", piece}});
    }
    std::vector<std::string> finish(int outputTokens)
    {
        QJsonObject delta{{"stop_reason", "end_turn"}, {"stop_sequence", QJsonValue()}};
        add({{"type", "message_delta"}, {"delta", delta}, {"usage", QJsonObject{{"output_tokens", outputTokens}}}});
        add({{"type", "message_stop"}});
        return std::move(m_events);
    }

private:
    std::vector<std::string> m_events;
    int m_index = 0;
};

QString digest(const MessagesRequest& request)
{
    QByteArray body = QJsonDocument(request.body()).toJson(QJsonDocument::Compact);
    return QString::fromLatin1(QCryptographicHash::hash(body, QCryptographicHash::Sha256).toHex().left(24));
}

QString oneLine(const QString& text, int limit)
{
    QString line = text.simplified();
    return line.size() > limit ? line.left(limit - 1) + QChar(0x2026) : line;
}

QString capitalizeSentences(QString text)
{
    bool atStart = true;
    for (QChar& c : text) {
        if (atStart && c.isLetter()) {
            c = c.toUpper();
            atStart = false;
        } else if (c == u'.' || c == u'!' || c == u'?' || c == u'\n') {
            atStart = true;
        } else if (!c.isSpace()) {
            atStart = false;
        }
    }
    return text;
}

QString tidy(const QString& text)
{
    QString out = text;
    out.replace(QRegularExpression(QStringLiteral("[ \\t]{2,}")), QStringLiteral(" "));
    out.replace(QRegularExpression(QStringLiteral("\\bi\\b")), QStringLiteral("I"));
    out = capitalizeSentences(out.trimmed());
    if (!out.isEmpty() && !QStringLiteral(".!?:").contains(out.back()))
        out += u'.';
    return out;
}

QString replaceWords(QString text, const std::vector<std::pair<const char*, const char*>>& pairs)
{
    for (const auto& [from, to] : pairs)
        text.replace(QRegularExpression(QStringLiteral("\\b%1\\b").arg(QLatin1String(from)),
                                        QRegularExpression::CaseInsensitiveOption),
                     QLatin1String(to));
    return text;
}

QString shorter(const QString& text)
{
    QStringList words = text.simplified().split(u' ', Qt::SkipEmptyParts);
    if (words.size() <= 3)
        return tidy(text);
    return tidy(words.mid(0, (words.size() + 1) / 2).join(u' '));
}

QString simpler(const QString& text)
{
    QString out = text;
    out.replace(QRegularExpression(QStringLiteral(",\\s*")), QStringLiteral(". "));
    out.replace(QRegularExpression(QStringLiteral(";\\s*")), QStringLiteral(". "));
    return tidy(out);
}

} // namespace

QString rewrite(const QString& selection, const QString& system)
{
    auto has = [&](const char* words) { return system.contains(QLatin1String(words), Qt::CaseInsensitive); };
    auto label = [](const char* style) { return QStringLiteral("(Offline demo, %1) ").arg(QLatin1String(style)); };
    if (has("writing mode"))
        return label("writing mode") + tidy(selection).toUpper();
    if (has("Fix spelling"))
        return label("corrected") + tidy(selection);
    if (has("noticeably shorter"))
        return label("shorter") + shorter(selection);
    if (has("Expand it"))
        return label("longer") + tidy(selection) + QStringLiteral(" In other words, the same point again, at more length.");
    if (has("more professional"))
        return label("professional") + tidy(replaceWords(selection, {{"don't", "do not"}, {"can't", "cannot"},
                                                                      {"it's", "it is"}, {"I'm", "I am"},
                                                                      {"won't", "will not"}, {"hey", "hello"}}));
    if (has("more casual"))
        return label("casual") + tidy(replaceWords(selection, {{"do not", "don't"}, {"cannot", "can't"},
                                                                {"it is", "it's"}, {"I am", "I'm"}, {"hello", "hey"}})) +
               QStringLiteral(" :)");
    if (has("simpler"))
        return label("simpler") + simpler(selection);
    if (has("translat"))
        return label("translation") + selection.trimmed();
    return label("improved") + tidy(selection);
}

std::vector<QString> pieces(const QString& text)
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

namespace {

QString markdownAnswer(const MessagesRequest& request, const std::string& action)
{
    QString text = request.selection();
    QString words = QString::number(text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts).size());
    return QStringLiteral("## Offline demo answer\n\n"
                          "This answer comes from the **offline demo** of halvora-relay, not from a language model.\n\n"
                          "- Action: `%1`\n"
                          "- Your text has %2 words and %3 characters.\n"
                          "- It begins with: \u201c%4\u201d\n\n"
                          "Start the relay with `--upstream` and `--model` to get real answers.\n")
        .arg(QString::fromStdString(action.empty() ? "ask" : action), words, QString::number(text.size()),
             oneLine(text, 60));
}

QJsonArray searchResults(const QString& query)
{
    QJsonArray results;
    const char* hosts[] = {"example.com", "example.org", "example.net"};
    QString slug = QString::fromLatin1(QUrl::toPercentEncoding(oneLine(query, 40)));
    for (int i = 0; i < 3; ++i) {
        results.append(QJsonObject{{"type", "web_search_result"},
                                   {"title", QStringLiteral("Offline demo result %1: %2").arg(i + 1).arg(oneLine(query, 40))},
                                   {"url", QStringLiteral("https://%1/halvora-demo/%2").arg(QLatin1String(hosts[i]), slug)},
                                   {"encrypted_content", "b2ZmbGluZSBkZW1v"},
                                   {"page_age", QJsonValue()}});
    }
    return results;
}

void searchCall(Stream& s, const QString& id, const QString& query)
{
    s.start({{"type", "server_tool_use"}, {"id", id}, {"name", "web_search"}, {"input", QJsonObject()}});
    QString input = QString::fromUtf8(QJsonDocument(QJsonObject{{"query", query}}).toJson(QJsonDocument::Compact));
    qsizetype third = input.size() / 3;
    for (QString part : {input.left(third), input.mid(third, third), input.mid(2 * third)})
        s.delta({{"type", "input_json_delta"}, {"partial_json", part}});
    s.stop();
}

void citedText(Stream& s, const QJsonObject& result, const QString& text)
{
    s.start({{"type", "text"}, {"text", ""}});
    QJsonObject citation{{"type", "web_search_result_location"}, {"cited_text", text},
                         {"url", result.value("url")},         {"title", result.value("title")},
                         {"encrypted_index", "ZGVtbw"}};
    s.delta({{"type", "citations_delta"}, {"citation", citation}});
    s.streamText(text);
    s.stop();
}

std::vector<std::string> webAnswer(const MessagesRequest& request, const QString& id)
{
    Stream s(QStringLiteral("msg_demo_") + id);
    QString query = oneLine(request.selection(), 80);
    QString toolId = QStringLiteral("srvtoolu_demo_") + id;
    searchCall(s, toolId, query);
    QJsonArray results = searchResults(query);
    s.start({{"type", "web_search_tool_result"}, {"tool_use_id", toolId}, {"content", results}});
    s.stop();
    s.text(QStringLiteral("## Offline demo search\n\nThe offline demo made up three results for \u201c%1\u201d. ").arg(query));
    citedText(s, results.at(0).toObject(), QStringLiteral("The first result stands in for a real page."));
    s.text(QStringLiteral(" "));
    citedText(s, results.at(1).toObject(), QStringLiteral("The second one backs up the first."));
    s.text(QStringLiteral("\n\nStart the relay with `--upstream` and `--model` for real searches."));
    return s.finish(60);
}

} // namespace

std::vector<std::string> events(const MessagesRequest& request, const std::string& action)
{
    QString id = digest(request);
    if (request.hasTool(QStringLiteral("web_search")))
        return webAnswer(request, id);
    Stream s(QStringLiteral("msg_demo_") + id);
    const QString system = request.system();
    bool isRewrite = action == "rewrite" || system.contains(QLatin1String("Rewrite the selected text")) ||
                     system.contains(QLatin1String("Output only the translation"));
    QString text = isRewrite ? rewrite(request.selection(), request.system()) : markdownAnswer(request, action);
    s.text(text);
    return s.finish(int(text.size() / 4) + 1);
}

} // namespace DemoAnswer
