#include "DemoAnswer.h"

#include "DemoStream.h"
#include "DemoWebSearch.h"

#include <QCryptographicHash>
#include <QJsonDocument>
#include <QRegularExpression>

namespace DemoAnswer {

namespace {

QString digest(const MessagesRequest& request)
{
    QByteArray body = QJsonDocument(request.body()).toJson(QJsonDocument::Compact);
    return QString::fromLatin1(QCryptographicHash::hash(body, QCryptographicHash::Sha256).toHex().left(24));
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
             DemoStream::oneLine(text, 60));
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
        return label("longer") + tidy(selection) +
               QStringLiteral(" In other words, the same point again, at more length.");
    if (has("more professional"))
        return label("professional") + tidy(replaceWords(selection, {{"don't", "do not"},
                                                                     {"can't", "cannot"},
                                                                     {"it's", "it is"},
                                                                     {"I'm", "I am"},
                                                                     {"won't", "will not"},
                                                                     {"hey", "hello"}}));
    if (has("more casual"))
        return label("casual") +
               tidy(replaceWords(
                   selection,
                   {{"do not", "don't"}, {"cannot", "can't"}, {"it is", "it's"}, {"I am", "I'm"}, {"hello", "hey"}})) +
               QStringLiteral(" :)");
    if (has("simpler"))
        return label("simpler") + simpler(selection);
    if (has("translat"))
        return label("translation") + selection.trimmed();
    return label("improved") + tidy(selection);
}

std::vector<std::string> events(const MessagesRequest& request, const std::string& action)
{
    QString id = digest(request);
    if (request.hasTool(QStringLiteral("web_search")))
        return DemoWebSearch::events(request, id);
    DemoStream s(QStringLiteral("msg_demo_") + id);
    const QString system = request.system();
    bool isRewrite = action == "rewrite" || system.contains(QLatin1String("Rewrite the selected text")) ||
                     system.contains(QLatin1String("Output only the translation"));
    QString text = isRewrite ? rewrite(request.selection(), request.system()) : markdownAnswer(request, action);
    s.text(text);
    return s.finish(int(text.size() / 4) + 1);
}

} // namespace DemoAnswer
