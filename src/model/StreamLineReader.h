#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <functional>

// Splits a byte stream that arrives in arbitrary pieces into text lines. LF, CR and CRLF
// each end a line, also when a CRLF pair is split between two pieces; the text after the
// last line break is a line of its own when the stream ends.
class StreamLineReader {
public:
    // Receives each line without its terminator, valid for the call only (a line that lies
    // within one piece is not copied); returns false to stop reading.
    using LineHandler = std::function<bool(QByteArrayView line)>;

    // Hands every complete line in the new bytes to the handler. Returns false when the
    // handler stopped; the reader then takes no more input.
    bool feed(QByteArrayView bytes, const LineHandler& onLine);
    // Hands over the unterminated rest, if any, at the end of the stream.
    bool finish(const LineHandler& onLine);

private:
    QByteArray m_pending;
    bool m_afterCarriageReturn = false;
    bool m_stopped = false;
};
