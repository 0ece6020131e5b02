#include "history/HistoryFile.h"

#include "history/JsonReader.h"

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
    appendString(out, HistoryStore::toString(conversation.kind));
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

// Whether text has the shape given, where 'd' stands for one ASCII digit and '±' for a sign.
bool hasShape(QStringView text, QStringView shape)
{
    if (text.size() != shape.size())
        return false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        const char16_t want = shape[i].unicode();
        const bool fits = want == u'd' ? (c >= u'0' && c <= u'9') : want == u'±' ? (c == u'+' || c == u'-') : c == want;
        if (!fits)
            return false;
    }
    return true;
}

// ---- Reading: every required key present with a value of the right type, or nothing.
// Unknown keys are skipped; null stands for an absent optional value.

template <typename T> QList<T> readList(JsonReader& in, T (*readOne)(JsonReader&))
{
    QList<T> list;
    for (in.beginArray(); in.nextElement();)
        list.append(readOne(in));
    return list;
}

std::optional<QString> optionalString(JsonReader& in)
{
    if (in.skipNull())
        return std::nullopt;
    return in.string();
}

QUuid readUuid(JsonReader& in)
{
    const QString text = in.string();
    const QUuid id = QUuid::fromString(text);
    // Only the bare 36-character form; QUuid would also take braces.
    if (text.size() != 36 || (id.isNull() && text != QStringLiteral("00000000-0000-0000-0000-000000000000")))
        in.fail();
    return id;
}

QDateTime readDate(JsonReader& in)
{
    const auto date = HistoryFile::decodeDate(in.string());
    if (!date)
        in.fail();
    return date.value_or(QDateTime());
}

// The address of a source: the same rule as when it came from the model, a non-empty string
// that parses strictly as a URL.
QUrl readUrl(JsonReader& in)
{
    const QString text = in.string();
    const QUrl url(text, QUrl::StrictMode);
    if (text.isEmpty() || !url.isValid())
        in.fail();
    return url;
}

Source readSource(JsonReader& in)
{
    Source source;
    unsigned seen = 0;
    QByteArrayView key;
    for (in.beginObject(); in.nextKey(key);) {
        if (key == "title")
            source.title = in.string(), seen |= 1;
        else if (key == "url")
            source.url = readUrl(in), seen |= 2;
        else
            in.skipValue();
    }
    if (seen != 3)
        in.fail();
    return source;
}

void readTurnField(JsonReader& in, QByteArrayView key, Turn& turn, unsigned& seen)
{
    if (key == "id")
        turn.id = readUuid(in), seen |= 1;
    else if (key == "question")
        turn.question = optionalString(in);
    else if (key == "answer")
        turn.answer = in.string(), seen |= 2;
    else if (key == "deep")
        turn.deep = in.boolean(), seen |= 4;
    else if (key == "sources")
        turn.sources = readList(in, readSource), seen |= 8;
    else
        in.skipValue();
}

Turn readTurn(JsonReader& in)
{
    Turn turn;
    unsigned seen = 0;
    QByteArrayView key;
    for (in.beginObject(); in.nextKey(key);)
        readTurnField(in, key, turn, seen);
    if (seen != 15)
        in.fail();
    return turn;
}

void readKind(JsonReader& in, Conversation& conversation)
{
    const auto kind = HistoryStore::kindFromString(in.string());
    if (!kind)
        in.fail();
    conversation.kind = kind.value_or(HistoryStore::Kind::Chat);
}

void readConversationField(JsonReader& in, QByteArrayView key, Conversation& conversation, unsigned& seen)
{
    if (key == "id")
        conversation.id = readUuid(in), seen |= 1;
    else if (key == "kind")
        readKind(in, conversation), seen |= 2;
    else if (key == "title")
        conversation.title = in.string(), seen |= 4;
    else if (key == "selection")
        conversation.selection = optionalString(in);
    else if (key == "appName")
        conversation.appName = optionalString(in);
    else if (key == "style")
        conversation.style = optionalString(in);
    else if (key == "createdAt")
        conversation.createdAt = readDate(in), seen |= 8;
    else if (key == "updatedAt")
        conversation.updatedAt = readDate(in), seen |= 16;
    else if (key == "turns")
        conversation.turns = readList(in, readTurn), seen |= 32;
    else
        in.skipValue();
}

Conversation readConversation(JsonReader& in)
{
    Conversation conversation;
    unsigned seen = 0;
    QByteArrayView key;
    for (in.beginObject(); in.nextKey(key);)
        readConversationField(in, key, conversation, seen);
    if (seen != 63)
        in.fail();
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
    JsonReader in(bytes);
    QList<Conversation> conversations = readList(in, readConversation);
    if (in.failed() || !in.atEnd())
        return std::nullopt;
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
    const bool utc = hasShape(text, u"dddd-dd-ddTdd:dd:ddZ");
    if (!utc && !hasShape(text, u"dddd-dd-ddTdd:dd:dd±dd:dd"))
        return std::nullopt;
    const auto number = [&](int from, int length) { return QStringView(text).mid(from, length).toInt(); };
    const QDate day(number(0, 4), number(5, 2), number(8, 2));
    const QTime time(number(11, 2), number(14, 2), number(17, 2));
    if (!day.isValid() || !time.isValid() || (!utc && (number(20, 2) > 23 || number(23, 2) > 59)))
        return std::nullopt;
    const int offset = utc ? 0 : (text[19] == QLatin1Char('-') ? -60 : 60) * (number(20, 2) * 60 + number(23, 2));
    return QDateTime(day, time, Qt::UTC).addSecs(-offset);
}

} // namespace HistoryFile
