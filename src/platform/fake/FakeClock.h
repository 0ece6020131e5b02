#pragma once

#include "platform/Clock.h"

#include <map>

// A clock that moves only when a test says so. Work scheduled with after() runs, in due
// order, when advance() passes its time.
class FakeClock : public Clock {
public:
    explicit FakeClock(QDateTime start = QDateTime(QDate(2026, 1, 15), QTime(12, 0), Qt::UTC));

    QDateTime now() const override { return m_start.addMSecs(m_elapsedMs); }
    qint64 monotonicMs() const override { return m_elapsedMs; }
    [[nodiscard]] TaskHandle after(int delayMs, std::function<void()> work) override;

    // Moves time forward, running every piece of work that falls due on the way.
    void advance(qint64 ms);
    // Sets the wall clock without running anything.
    void setNow(const QDateTime& now);
    // How many pieces of work are waiting (cancelled ones excluded).
    int pendingCount() const;

private:
    struct Pending {
        std::weak_ptr<CancelToken> token;
        std::function<void()> work;
    };
    QDateTime m_start;
    qint64 m_elapsedMs = 0;
    qint64 m_sequence = 0;
    std::multimap<std::pair<qint64, qint64>, Pending> m_pending;
};
