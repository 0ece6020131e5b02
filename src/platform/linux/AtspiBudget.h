#pragma once

#include <QElapsedTimer>

// Bounds the time spent on one application's accessibility calls. Calls that follow each
// other closely form one burst (one selection read, say); a burst may take at most
// burstLimitMs in all, and once a call has timed out the rest of the burst fails at once, so
// an application that hangs costs one timeout rather than one per call.
class AtspiBudget {
public:
    static constexpr int burstLimitMs = 1000;
    // A pause this long between two calls starts a new burst.
    static constexpr int idleGapMs = 250;

    AtspiBudget();

    void setTimeoutMs(int timeoutMs) { m_timeoutMs = timeoutMs; }
    int timeoutMs() const { return m_timeoutMs; }

    // Whether a call may go out now; arms the per-call timeout when it may.
    bool begin();
    // Records the end of a call.
    void end();

private:
    QElapsedTimer m_clock;
    int m_timeoutMs = 250;
    qint64 m_burstStart = -1;
    qint64 m_callStart = 0;
    qint64 m_lastEnd = -1;
    bool m_timedOut = false;
};
