#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

// Per-user limits on model requests: how many may stream at once and how many may start in
// one minute (a sliding one-minute window). 0 turns a limit off. Each relay process counts
// the requests it serves.
class UserLimits {
public:
    using Clock = std::chrono::steady_clock;
    enum class Verdict { Ok, TooManyStreams, TooManyRequests };
    // Held while a request streams; destroying it frees the user's stream slot.
    using Lease = std::shared_ptr<void>;

    UserLimits(int maxStreams, int requestsPerMinute) : m_maxStreams(maxStreams), m_perMinute(requestsPerMinute) {}

    // Admits one request of `userId` at `now`; on Ok, `lease` holds its stream slot.
    Verdict admit(std::int64_t userId, Clock::time_point now, Lease* lease);
    // Seconds until the user may start another request (at least 1), after TooManyRequests.
    int retryAfterSeconds(std::int64_t userId, Clock::time_point now);

private:
    struct Usage {
        int streams = 0;
        // Start times of the requests of the last minute, oldest first (at most the limit).
        std::vector<Clock::time_point> starts;
    };
    void dropOld(Usage& usage, Clock::time_point now);

    const int m_maxStreams;
    const int m_perMinute;
    std::mutex m_mutex;
    std::map<std::int64_t, Usage> m_usage;
};
