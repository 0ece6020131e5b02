#include "model/StreamLineReader.h"

#include <utility>

bool StreamLineReader::feed(QByteArrayView bytes, const LineHandler& onLine)
{
    if (m_stopped)
        return false;
    if (bytes.isEmpty())
        return true;
    qsizetype start = 0;
    if (m_afterCarriageReturn && bytes.front() == '\n')
        start = 1;
    m_afterCarriageReturn = false;
    const char* data = bytes.data();
    for (qsizetype i = start; i < bytes.size(); ++i) {
        const char c = data[i];
        if (c != '\n' && c != '\r')
            continue;
        QByteArrayView line(data + start, i - start);
        QByteArray joined;
        if (!m_pending.isEmpty()) {
            joined = std::exchange(m_pending, QByteArray());
            joined.append(line);
            line = joined;
        }
        if (c == '\r') {
            if (i + 1 < bytes.size() && data[i + 1] == '\n')
                ++i;
            else if (i + 1 == bytes.size())
                m_afterCarriageReturn = true;
        }
        start = i + 1;
        if (!onLine(line)) {
            m_stopped = true;
            return false;
        }
    }
    m_pending.append(data + start, bytes.size() - start);
    return true;
}

bool StreamLineReader::finish(const LineHandler& onLine)
{
    if (m_stopped)
        return false;
    m_stopped = true;
    if (m_pending.isEmpty())
        return true;
    return onLine(std::exchange(m_pending, QByteArray()));
}
