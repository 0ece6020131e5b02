#include "history/JsonReader.h"

namespace {

constexpr size_t maxDepth = 64;

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = char(c | 0x20);
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

} // namespace

bool JsonReader::atEnd()
{
    skipSpace();
    return m_pos == m_end;
}

void JsonReader::beginArray()
{
    open('[');
}

bool JsonReader::nextElement()
{
    return next(']');
}

void JsonReader::beginObject()
{
    open('{');
}

bool JsonReader::nextKey(QByteArrayView& key)
{
    if (!next('}'))
        return false;
    key = rawString();
    skipSpace();
    if (!consume(':'))
        fail();
    return !m_failed;
}

bool JsonReader::skipNull()
{
    skipSpace();
    return !m_failed && consumeWord("null");
}

QString JsonReader::string()
{
    return QString::fromUtf8(rawString());
}

bool JsonReader::boolean()
{
    skipSpace();
    if (consumeWord("true"))
        return true;
    if (!consumeWord("false"))
        fail();
    return false;
}

void JsonReader::skipValue()
{
    skipSpace();
    if (m_failed || m_pos == m_end)
        return fail();
    const char c = *m_pos;
    if (c == '"') {
        rawString();
    } else if (c == '[') {
        for (beginArray(); nextElement();)
            skipValue();
    } else if (c == '{') {
        QByteArrayView key;
        for (beginObject(); nextKey(key);)
            skipValue();
    } else if (!consumeWord("true") && !consumeWord("false") && !consumeWord("null")) {
        const char* start = m_pos;
        while (m_pos < m_end && (QByteArrayView("+-.0123456789eE").contains(*m_pos)))
            ++m_pos;
        if (m_pos == start)
            fail();
    }
}

void JsonReader::skipSpace()
{
    while (m_pos < m_end && (*m_pos == ' ' || *m_pos == '\n' || *m_pos == '\r' || *m_pos == '\t'))
        ++m_pos;
}

bool JsonReader::consume(char c)
{
    if (m_pos == m_end || *m_pos != c)
        return false;
    ++m_pos;
    return true;
}

bool JsonReader::consumeWord(QByteArrayView word)
{
    if (QByteArrayView(m_pos, m_end - m_pos).startsWith(word)) {
        m_pos += word.size();
        return true;
    }
    return false;
}

bool JsonReader::open(char bracket)
{
    skipSpace();
    if (m_failed || m_first.size() >= maxDepth || !consume(bracket)) {
        fail();
        return false;
    }
    m_first.push_back(true);
    return true;
}

bool JsonReader::next(char close)
{
    skipSpace();
    if (m_failed || m_first.empty())
        return false;
    if (consume(close)) {
        m_first.pop_back();
        return false;
    }
    if (!m_first.back() && !consume(',')) {
        fail();
        return false;
    }
    m_first.back() = false;
    return true;
}

QByteArrayView JsonReader::rawString()
{
    skipSpace();
    if (m_failed || !consume('"')) {
        fail();
        return {};
    }
    const char* start = m_pos;
    while (m_pos < m_end && *m_pos != '"' && *m_pos != '\\' && static_cast<unsigned char>(*m_pos) >= 0x20)
        ++m_pos;
    if (consume('"'))
        return QByteArrayView(start, m_pos - 1 - start);
    m_scratch = QByteArray(start, m_pos - start);
    return escapedRest();
}

QByteArrayView JsonReader::escapedRest()
{
    const char* plain = m_pos;
    while (m_pos < m_end) {
        const auto c = static_cast<unsigned char>(*m_pos);
        if (c < 0x20)
            break;
        if (c != '"' && c != '\\') {
            ++m_pos;
            continue;
        }
        m_scratch.append(plain, m_pos - plain);
        ++m_pos;
        if (c == '"')
            return m_scratch;
        if (!appendEscape(m_scratch))
            break;
        plain = m_pos;
    }
    fail();
    return {};
}

bool JsonReader::appendEscape(QByteArray& out)
{
    if (m_pos == m_end)
        return false;
    const char c = *m_pos++;
    const qsizetype simple = QByteArrayView("\"\\/bfnrt").indexOf(c);
    if (simple >= 0) {
        out.append("\"\\/\b\f\n\r\t"[simple]);
        return true;
    }
    char32_t code = 0;
    if (c != 'u' || !readHex4(code))
        return false;
    // A high surrogate followed by an escaped low one makes one character; a lone one is replaced.
    char32_t low = 0;
    if (code >= 0xD800 && code < 0xDC00 && QByteArrayView(m_pos, m_end - m_pos).startsWith("\\u")) {
        const char* back = m_pos;
        m_pos += 2;
        if (readHex4(low) && low >= 0xDC00 && low < 0xE000)
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
        else
            m_pos = back;
    }
    appendUtf8(out, code >= 0xD800 && code < 0xE000 ? 0xFFFD : code);
    return true;
}

bool JsonReader::readHex4(char32_t& value)
{
    if (m_end - m_pos < 4)
        return false;
    value = 0;
    for (int i = 0; i < 4; ++i) {
        const int digit = hexValue(*m_pos++);
        if (digit < 0)
            return false;
        value = value * 16 + char32_t(digit);
    }
    return true;
}

void JsonReader::appendUtf8(QByteArray& out, char32_t code)
{
    if (code < 0x80) {
        out.append(char(code));
    } else if (code < 0x800) {
        out.append(char(0xC0 | (code >> 6))).append(char(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.append(char(0xE0 | (code >> 12))).append(char(0x80 | ((code >> 6) & 0x3F)));
        out.append(char(0x80 | (code & 0x3F)));
    } else {
        out.append(char(0xF0 | (code >> 18))).append(char(0x80 | ((code >> 12) & 0x3F)));
        out.append(char(0x80 | ((code >> 6) & 0x3F))).append(char(0x80 | (code & 0x3F)));
    }
}
