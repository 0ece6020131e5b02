#pragma once

#include <atomic>
#include <string>
#include <vector>

namespace httplib {
struct Response;
class DataSink;
}

// Shared by every streaming response: the stop request of a shutting-down relay and the
// number of streams still open (scenario mode reports it so tests can see a closed stream
// being let go).
struct StreamControl {
    std::atomic<bool> stopping{false};
    std::atomic<int> activeStreams{0};

    // Sleeps up to `ms`, waking early (and returning false) when the relay stops or the client has gone.
    bool wait(int ms, httplib::DataSink& sink) const;
};

// A stream of pre-built chunks written one at a time with `delayMs` between them, as a
// chunked response. `cutAfter` drops the connection after that many chunks (no final chunk,
// so the client sees a broken transfer); `stallAfter` stops sending but keeps the connection
// open until the client leaves or the relay stops.
struct EventPlan {
    std::vector<std::string> chunks;
    int delayMs = 0;
    int cutAfter = -1;
    int stallAfter = -1;
};

namespace EventPump {

void attach(httplib::Response& res, const std::string& contentType, EventPlan plan, StreamControl& control);

} // namespace EventPump
