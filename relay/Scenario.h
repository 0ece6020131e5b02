#pragma once

#include "ScenarioStep.h"

#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <string>

// The scripted responses of scenario mode, loaded from a folder (SCENARIOS.md) and handed out
// in order, one queue per request path. Safe to use from any thread.
class Scenario {
public:
    // Loads every step of `folder`; returns false with a message naming the bad file.
    bool load(const std::string& folder, std::string* error);
    // The next step for `path` (relative, without a leading slash), removed from its queue.
    std::optional<ScenarioStep> next(const std::string& path);
    std::size_t remaining();

private:
    std::map<std::string, std::deque<ScenarioStep>> m_queues;
    std::mutex m_mutex;
};

namespace httplib {
struct Response;
}
struct StreamControl;

namespace ScenarioResponse {

// Answers with `step`: its status, headers and body, or its events through EventPump.
void send(const ScenarioStep& step, httplib::Response& res, StreamControl& control);

} // namespace ScenarioResponse
