#include "platform/fake/FakeClock.h"

#include <QTimeZone>

FakeClock::FakeClock(QDateTime start) : m_start(std::move(start)) {}

TaskHandle FakeClock::after(int delayMs, std::function<void()> work)
{
    std::shared_ptr<CancelToken> token;
    TaskHandle handle = TaskHandle::create(&token);
    const qint64 due = m_elapsedMs + std::max(0, delayMs);
    m_pending.emplace(std::make_pair(due, m_sequence++), Pending{token, std::move(work)});
    return handle;
}

void FakeClock::advance(qint64 ms)
{
    const qint64 target = m_elapsedMs + ms;
    while (!m_pending.empty() && m_pending.begin()->first.first <= target) {
        auto node = m_pending.extract(m_pending.begin());
        m_elapsedMs = std::max(m_elapsedMs, node.key().first);
        auto token = node.mapped().token.lock();
        if (!token || token->isCancelled() || token->isFinished())
            continue;
        token->finish();
        node.mapped().work();
    }
    m_elapsedMs = target;
}

void FakeClock::setNow(const QDateTime& now)
{
    m_start = now.addMSecs(-m_elapsedMs);
}

int FakeClock::pendingCount() const
{
    int count = 0;
    for (const auto& [key, pending] : m_pending) {
        auto token = pending.token.lock();
        if (token && !token->isCancelled() && !token->isFinished())
            ++count;
    }
    return count;
}
