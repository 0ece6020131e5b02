#include "platform/linux/ClickCounter.h"

#include <cstdlib>

int ClickCounter::press(quint32 timeMs, QPoint position)
{
    int count = 1;
    if (m_last) {
        // Unsigned difference: right across the server clock's wrap-around.
        const quint32 elapsed = timeMs - m_last->timeMs;
        const QPoint moved = position - m_last->position;
        const bool soon = elapsed <= quint32(m_intervalMs);
        const bool close = std::abs(moved.x()) <= m_distance && std::abs(moved.y()) <= m_distance;
        if (soon && close)
            count = m_last->count + 1;
    }
    m_last = Press{timeMs, position, count};
    return count;
}
