#include "model/TextDeltaEvent.h"

#include <QStringDecoder>

namespace {

// Reads the few JSON tokens a text delta is made of, left to right.
class Scanner {
public:
    explicit Scanner(QByteArrayView json) : m_at(json.begin()), m_end(json.end()) {}

    bool atEnd()
    {
        skipSpace();
        return m_at == m_end;
    }
    bool take(char c)
    {
        skipSpace();
        if (m_at == m_end || *m_at != c)
            return false;
        ++m_at;
        return true;
    }
    // An object whose members are read by `member(key)`; false as soon as one is not taken.
    template <typename MemberReader> bool object(MemberReader member);
    // A string without escapes that equals `word`.
    bool word(QByteArrayView word);
    std::optional<int> smallInteger();
    std::optional<QString> string();

private:
    void skipSpace()
    {
        while (m_at != m_end && (*m_at == ' ' || *m_at == '\t' || *m_at == '\n' || *m_at == '\r'))
            ++m_at;
    }
    std::optional<QByteArrayView> rawString(bool& escaped, bool& ascii);

    const char* m_at;
    const char* m_end;
};

template <typename MemberReader> bool Scanner::object(MemberReader member)
{
    if (!take('{'))
        return false;
    do {
        bool escaped = false;
        bool ascii = true;
        const std::optional<QByteArrayView> key = rawString(escaped, ascii);
        if (!key || escaped || !take(':') || !member(*key))
            return false;
    } while (take(','));
    return take('}');
}

// The bytes between the quotes of a string, noting whether it holds escapes or non-ASCII bytes.
std::optional<QByteArrayView> Scanner::rawString(bool& escaped, bool& ascii)
{
    if (!take('"'))
        return std::nullopt;
    const char* begin = m_at;
    for (; m_at != m_end && *m_at != '"'; ++m_at) {
        const auto c = static_cast<unsigned char>(*m_at);
        if (c < 0x20)
            return std::nullopt;
        if (c >= 0x80)
            ascii = false;
        if (c == '\\') {
            escaped = true;
            if (++m_at == m_end)
                return std::nullopt;
        }
    }
    if (m_at == m_end)
        return std::nullopt;
    return QByteArrayView(begin, m_at++);
}

bool Scanner::word(QByteArrayView word)
{
    bool escaped = false;
    bool ascii = true;
    const std::optional<QByteArrayView> raw = rawString(escaped, ascii);
    return raw && !escaped && *raw == word;
}

// Digits without a sign, fraction, exponent or leading zero, below a billion.
std::optional<int> Scanner::smallInteger()
{
    skipSpace();
    const char* begin = m_at;
    qint64 value = 0;
    for (; m_at != m_end && *m_at >= '0' && *m_at <= '9'; ++m_at) {
        if (m_at - begin < 10)
            value = value * 10 + (*m_at - '0');
    }
    const qsizetype digits = m_at - begin;
    if (digits == 0 || digits > 9 || (digits > 1 && *begin == '0'))
        return std::nullopt;
    if (m_at != m_end && (*m_at == '.' || *m_at == 'e' || *m_at == 'E'))
        return std::nullopt;
    return int(value);
}

// The value of four hex digits, or -1.
int hexUnit(QByteArrayView digits)
{
    int value = 0;
    for (const char c : digits) {
        const char lower = char(c | 0x20);
        if (c >= '0' && c <= '9')
            value = value * 16 + (c - '0');
        else if (lower >= 'a' && lower <= 'f')
            value = value * 16 + (lower - 'a' + 10);
        else
            return -1;
    }
    return value;
}

// The UTF-8 of an escaped string's content; none for an escape this reader leaves alone.
std::optional<QByteArray> unescaped(QByteArrayView raw)
{
    QByteArray out;
    out.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw[i] != '\\') {
            out.append(raw[i]);
            continue;
        }
        const char c = raw[++i];
        static constexpr QByteArrayView from = "\"\\/bfnrt";
        static constexpr QByteArrayView to = "\"\\/\b\f\n\r\t";
        if (const qsizetype at = from.indexOf(c); at >= 0) {
            out.append(to[at]);
            continue;
        }
        const int code = c == 'u' && i + 4 < raw.size() ? hexUnit(raw.sliced(i + 1, 4)) : -1;
        if (code < 0 || (code >= 0xD800 && code <= 0xDFFF))
            return std::nullopt;
        const auto unit = char16_t(code);
        out.append(QStringView(&unit, 1).toUtf8());
        i += 4;
    }
    return out;
}

std::optional<QString> Scanner::string()
{
    bool escaped = false;
    bool ascii = true;
    const std::optional<QByteArrayView> raw = rawString(escaped, ascii);
    if (!raw)
        return std::nullopt;
    if (!escaped && ascii)
        return QString::fromLatin1(*raw);
    // The JSON parser drops byte order marks inside strings; such text is left to it.
    std::optional<QByteArray> bytes;
    if (raw->contains("\xEF\xBB\xBF") || (escaped && !(bytes = unescaped(*raw))))
        return std::nullopt;
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = decoder(bytes ? QByteArrayView(*bytes) : *raw);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

// Marks a key as read; false when it was read before.
bool firstTime(unsigned& seen, unsigned key)
{
    const bool first = !(seen & key);
    seen |= key;
    return first;
}

bool readDelta(Scanner& in, QString& text)
{
    unsigned seen = 0;
    const bool read = in.object([&](QByteArrayView key) {
        if (key == "type")
            return firstTime(seen, 1) && in.word("text_delta");
        if (key != "text" || !firstTime(seen, 2))
            return false;
        std::optional<QString> value = in.string();
        if (value)
            text = std::move(*value);
        return value.has_value();
    });
    return read && seen == 3;
}

} // namespace

std::optional<TextDeltaEvent> TextDeltaEvent::scan(QByteArrayView json)
{
    Scanner in(json);
    TextDeltaEvent event;
    unsigned seen = 0;
    const bool read = in.object([&](QByteArrayView key) {
        if (key == "type")
            return firstTime(seen, 1) && in.word("content_block_delta");
        if (key == "delta")
            return firstTime(seen, 2) && readDelta(in, event.text);
        if (key != "index" || !firstTime(seen, 4))
            return false;
        const std::optional<int> index = in.smallInteger();
        event.index = index.value_or(0);
        return index.has_value();
    });
    if (!read || seen != 7 || !in.atEnd())
        return std::nullopt;
    return event;
}
