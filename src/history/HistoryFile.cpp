#include "history/HistoryFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <string_view>

namespace {

using Conversation = HistoryStore::Conversation;
using Turn = HistoryStore::Turn;
using Source = HistoryStore::Source;

// ---- Writing: a direct compact encoder; keys come in a fixed order.

void appendEscaped(QByteArray& out, unsigned char c)
{
    static constexpr std::string_view named = "\"\\\n\r\t\b\f";
    static constexpr const char* escapes[] = {"\\\"", "\\\\", "\\n", "\\r", "\\t", "\\b", "\\f"};
    static constexpr char hex[] = "0123456789abcdef";
    const auto index = named.find(char(c));
    if (index != std::string_view::npos)
        out.append(escapes[index]);
    else
        out.append("\\u00").append(hex[c >> 4]).append(hex[c & 0xf]);
}

void appendString(QByteArray& out, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    out.append('"');
    qsizetype plain = 0;
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c >= 0x20 && c != '"' && c != '\\')
            continue;
        out.append(utf8.constData() + plain, i - plain);
        appendEscaped(out, c);
        plain = i + 1;
    }
    out.append(utf8.constData() + plain, utf8.size() - plain);
    out.append('"');
}

void appendKey(QByteArray& out, const char* key, bool first = false)
{
    if (!first)
        out.append(',');
    out.append('"').append(key).append("\":");
}

void appendOptional(QByteArray& out, const char* key, const std::optional<QString>& value)
{
    if (!value)
        return;
    appendKey(out, key);
    appendString(out, *value);
}

QString uuidText(const QUuid& id)
{
    return id.toString(QUuid::WithoutBraces).toUpper();
}

void appendSource(QByteArray& out, const Source& source)
{
    appendKey(out.append('{'), "title", true);
    appendString(out, source.title);
    appendKey(out, "url");
    appendString(out, source.url.toString(QUrl::FullyEncoded));
    out.append('}');
}

void appendTurn(QByteArray& out, const Turn& turn)
{
    appendKey(out.append('{'), "id", true);
    appendString(out, uuidText(turn.id));
    appendOptional(out, "question", turn.question);
    appendKey(out, "answer");
    appendString(out, turn.answer);
    appendKey(out, "sources");
    out.append('[');
    for (qsizetype i = 0; i < turn.sources.size(); ++i)
        appendSource(i ? out.append(',') : out, turn.sources[i]);
    out.append(']');
    appendKey(out, "deep");
    out.append(turn.deep ? "true" : "false");
    out.append('}');
}

void appendConversation(QByteArray& out, const Conversation& conversation)
{
    appendKey(out.append('{'), "id", true);
    appendString(out, uuidText(conversation.id));
    appendKey(out, "kind");
    appendString(out, HistoryStore::rawValue(conversation.kind));
    appendKey(out, "title");
    appendString(out, conversation.title);
    appendOptional(out, "selection", conversation.selection);
    appendOptional(out, "appName", conversation.appName);
    appendOptional(out, "style", conversation.style);
    appendKey(out, "createdAt");
    appendString(out, HistoryFile::encodeDate(conversation.createdAt));
    appendKey(out, "updatedAt");
    appendString(out, HistoryFile::encodeDate(conversation.updatedAt));
    appendKey(out, "turns");
    out.append('[');
    for (qsizetype i = 0; i < conversation.turns.size(); ++i)
        appendTurn(i ? out.append(',') : out, conversation.turns[i]);
    out.append("]}");
}

// ---- Reading: every required key present with the right type, or nothing.

// Thrown inside decode() only, and caught there.
struct Unreadable {};

QString requireString(const QJsonObject& object, QLatin1String key)
{
    const QJsonValue value = object.value(key);
    if (!value.isString())
        throw Unreadable{};
    return value.toString();
}

std::optional<QString> optionalString(const QJsonObject& object, QLatin1String key)
{
    const QJsonValue value = object.value(key);
    if (value.isUndefined() || value.isNull())
        return std::nullopt;
    if (!value.isString())
        throw Unreadable{};
    return value.toString();
}

QJsonArray requireArray(const QJsonObject& object, QLatin1String key)
{
    const QJsonValue value = object.value(key);
    if (!value.isArray())
        throw Unreadable{};
    return value.toArray();
}

QJsonObject requireObject(const QJsonValue& value)
{
    if (!value.isObject())
        throw Unreadable{};
    return value.toObject();
}

QUuid requireUuid(const QJsonObject& object)
{
    const QString text = requireString(object, QLatin1String("id"));
    static const QRegularExpression form(QStringLiteral("^[0-9A-Fa-f]{8}(-[0-9A-Fa-f]{4}){3}-[0-9A-Fa-f]{12}$"));
    if (!form.match(text).hasMatch())
        throw Unreadable{};
    return QUuid::fromString(text);
}

QDateTime requireDate(const QJsonObject& object, QLatin1String key)
{
    const auto date = HistoryFile::decodeDate(requireString(object, key));
    if (!date)
        throw Unreadable{};
    return *date;
}

Source decodeSource(const QJsonObject& object)
{
    const QString url = requireString(object, QLatin1String("url"));
    return Source{requireString(object, QLatin1String("title")), QUrl(url)};
}

Turn decodeTurn(const QJsonObject& object)
{
    Turn turn;
    turn.id = requireUuid(object);
    turn.question = optionalString(object, QLatin1String("question"));
    turn.answer = requireString(object, QLatin1String("answer"));
    const QJsonValue deep = object.value(QLatin1String("deep"));
    if (!deep.isBool())
        throw Unreadable{};
    turn.deep = deep.toBool();
    for (const QJsonValue& source : requireArray(object, QLatin1String("sources")))
        turn.sources.append(decodeSource(requireObject(source)));
    return turn;
}

Conversation decodeConversation(const QJsonObject& object)
{
    Conversation conversation;
    conversation.id = requireUuid(object);
    const auto kind = HistoryStore::kindFromRawValue(requireString(object, QLatin1String("kind")));
    if (!kind)
        throw Unreadable{};
    conversation.kind = *kind;
    conversation.title = requireString(object, QLatin1String("title"));
    conversation.selection = optionalString(object, QLatin1String("selection"));
    conversation.appName = optionalString(object, QLatin1String("appName"));
    conversation.style = optionalString(object, QLatin1String("style"));
    conversation.createdAt = requireDate(object, QLatin1String("createdAt"));
    conversation.updatedAt = requireDate(object, QLatin1String("updatedAt"));
    const QJsonArray turns = requireArray(object, QLatin1String("turns"));
    conversation.turns.reserve(turns.size());
    for (const QJsonValue& turn : turns)
        conversation.turns.append(decodeTurn(requireObject(turn)));
    return conversation;
}

} // namespace

namespace HistoryFile {

QByteArray encode(const QList<Conversation>& conversations)
{
    QByteArray out;
    out.reserve(4096 + conversations.size() * 1024);
    out.append('[');
    for (qsizetype i = 0; i < conversations.size(); ++i)
        appendConversation(i ? out.append(',') : out, conversations[i]);
    out.append(']');
    return out;
}

std::optional<QList<Conversation>> decode(const QByteArray& bytes)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isArray())
        return std::nullopt;
    const QJsonArray array = document.array();
    QList<Conversation> conversations;
    conversations.reserve(array.size());
    try {
        for (const QJsonValue& value : array)
            conversations.append(decodeConversation(requireObject(value)));
    } catch (const Unreadable&) {
        return std::nullopt;
    }
    return conversations;
}

QString encodeDate(const QDateTime& date)
{
    // A date that was never set is written as the epoch, so the file always reads back.
    const QDateTime utc = date.isValid() ? date.toUTC() : QDateTime::fromSecsSinceEpoch(0, Qt::UTC);
    return utc.toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss'Z'"));
}

std::optional<QDateTime> decodeDate(const QString& text)
{
    static const QRegularExpression form(
        QStringLiteral("^\\d{4}-\\d{2}-\\d{2}T\\d{2}:\\d{2}:\\d{2}(Z|[+-]\\d{2}:\\d{2})$"));
    if (!form.match(text).hasMatch())
        return std::nullopt;
    const QDateTime date = QDateTime::fromString(text, Qt::ISODate);
    if (!date.isValid())
        return std::nullopt;
    return date.toUTC();
}

} // namespace HistoryFile
