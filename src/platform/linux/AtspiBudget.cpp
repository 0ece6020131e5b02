#include "platform/linux/AtspiBudget.h"

#include <atspi/atspi.h>

AtspiBudget::AtspiBudget()
{
    m_clock.start();
}

bool AtspiBudget::begin()
{
    const qint64 now = m_clock.elapsed();
    if (m_lastEnd < 0 || now - m_lastEnd >= idleGapMs) {
        m_burstStart = now;
        m_timedOut = false;
    }
    if (m_timedOut || now - m_burstStart >= burstLimitMs) {
        // A refused call keeps the burst going, or refusals alone would soon open a new one.
        m_lastEnd = now;
        return false;
    }
    m_callStart = now;
    // The library's timeout is process-wide; each call sets the one of its own application.
    atspi_set_timeout(m_timeoutMs, m_timeoutMs);
    return true;
}

// A call that took about the whole timeout is taken for an application that does not answer,
// whether or not the library reported it: some of its calls fail without telling.
void AtspiBudget::end()
{
    m_lastEnd = m_clock.elapsed();
    if (m_lastEnd - m_callStart >= m_timeoutMs * 9 / 10)
        m_timedOut = true;
}
