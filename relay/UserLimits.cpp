#include "UserLimits.h"

#include <algorithm>

void UserLimits::dropOld(Usage& usage, Clock::time_point now)
{
    auto fresh = std::find_if(usage.starts.begin(), usage.starts.end(),
                              [&](Clock::time_point t) { return now - t < std::chrono::minutes(1); });
    usage.starts.erase(usage.starts.begin(), fresh);
}

UserLimits::Verdict UserLimits::admit(std::int64_t userId, Clock::time_point now, Lease* lease)
{
    std::lock_guard lock(m_mutex);
    Usage& usage = m_usage[userId];
    dropOld(usage, now);
    if (m_maxStreams > 0 && usage.streams >= m_maxStreams)
        return Verdict::TooManyStreams;
    if (m_perMinute > 0 && int(usage.starts.size()) >= m_perMinute)
        return Verdict::TooManyRequests;
    if (m_perMinute > 0)
        usage.starts.push_back(now);
    usage.streams++;
    *lease = Lease(nullptr, [this, userId](void*) {
        std::lock_guard lock(m_mutex);
        Usage& u = m_usage[userId];
        u.streams--;
        if (u.streams == 0 && u.starts.empty())
            m_usage.erase(userId);
    });
    return Verdict::Ok;
}

int UserLimits::retryAfterSeconds(std::int64_t userId, Clock::time_point now)
{
    std::lock_guard lock(m_mutex);
    auto it = m_usage.find(userId);
    if (it == m_usage.end() || it->second.starts.empty())
        return 1;
    auto wait =
        std::chrono::duration_cast<std::chrono::seconds>(it->second.starts.front() + std::chrono::minutes(1) - now);
    return std::max<int>(1, int(wait.count()) + 1);
}
