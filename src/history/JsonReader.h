#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <vector>

// A forward-only reader of one JSON text held in memory, for decoding records with a known
// layout without building a document first. A read of the wrong kind of value, malformed
// text or nesting deeper than 64 levels puts the reader in a failed state, after which
// every read returns an empty value; callers read on and check failed() at the end.
class JsonReader {
public:
    explicit JsonReader(QByteArrayView text) : m_pos(text.data()), m_end(text.data() + text.size()) {}

    bool failed() const { return m_failed; }
    void fail() { m_failed = true; }
    // True when nothing but white space is left.
    bool atEnd();

    // Arrays: beginArray(), then one value read per nextElement() that returns true.
    void beginArray();
    bool nextElement();
    // Objects: beginObject(), then one value read per nextKey() that returns true. The key
    // stays valid until the next read.
    void beginObject();
    bool nextKey(QByteArrayView& key);

    // Consumes a null, returning true, when the next value is null.
    bool skipNull();
    QString string();
    bool boolean();
    // Consumes one value of any kind.
    void skipValue();

private:
    void skipSpace();
    bool consume(char c);
    bool consumeWord(QByteArrayView word);
    bool open(char bracket);
    bool next(char close);
    // The next string's content as UTF-8, escapes resolved; valid until the next read.
    QByteArrayView rawString();
    QByteArrayView escapedRest();
    bool appendEscape(QByteArray& out);
    bool readHex4(char32_t& value);
    static void appendUtf8(QByteArray& out, char32_t code);

    const char* m_pos;
    const char* m_end;
    bool m_failed = false;
    QByteArray m_scratch;
    // One entry per open array or object: whether its first element is still to come.
    std::vector<bool> m_first;
};
