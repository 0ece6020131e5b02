#include "EventPump.h"

#include <algorithm>
#include <chrono>
#include <httplib.h>
#include <memory>
#include <thread>

bool StreamControl::wait(int ms, httplib::DataSink& sink) const
{
    using namespace std::chrono;
    const auto deadline = steady_clock::now() + milliseconds(ms);
    while (!stopping.load()) {
        auto left = duration_cast<milliseconds>(deadline - steady_clock::now()).count();
        if (left <= 0)
            return true;
        std::this_thread::sleep_for(milliseconds(std::min<long>(left, 10)));
        if (!sink.is_writable())
            return false;
    }
    return false;
}

namespace EventPump {

namespace {

struct PumpState {
    EventPlan plan;
    std::size_t next = 0;
};

// Without pacing every event is ready at once: they go out together, up to the next planned cut
// or stall and at most `batchBytes` at a time, as a server with a buffered writer sends them.
// The bytes are the same; only the transfer's chunks are fewer.
bool writeReady(PumpState& state, httplib::DataSink& sink)
{
    constexpr std::size_t batchBytes = 64 * 1024;
    const EventPlan& plan = state.plan;
    std::size_t end = plan.chunks.size();
    for (int mark : {plan.cutAfter, plan.stallAfter}) {
        if (mark >= 0 && std::size_t(mark) > state.next)
            end = std::min(end, std::size_t(mark));
    }
    std::string batch = plan.chunks[state.next++];
    while (state.next < end && batch.size() + plan.chunks[state.next].size() <= batchBytes)
        batch += plan.chunks[state.next++];
    return sink.write(batch.data(), batch.size());
}

// Writes the next chunk; returning false ends the response without its final chunk.
bool pump(PumpState& state, httplib::DataSink& sink, const StreamControl& control)
{
    const EventPlan& plan = state.plan;
    if (control.stopping.load() || state.next == std::size_t(plan.cutAfter))
        return false;
    if (state.next == std::size_t(plan.stallAfter)) {
        while (control.wait(1000, sink)) {
        }
        return false;
    }
    if (state.next >= plan.chunks.size()) {
        sink.done();
        return true;
    }
    if (plan.delayMs == 0)
        return writeReady(state, sink);
    if (state.next > 0 && !control.wait(plan.delayMs, sink))
        return false;
    const std::string& chunk = plan.chunks[state.next++];
    return sink.write(chunk.data(), chunk.size());
}

} // namespace

void attach(httplib::Response& res, const std::string& contentType, EventPlan plan, StreamControl& control)
{
    auto state = std::make_shared<PumpState>();
    state->plan = std::move(plan);
    control.activeStreams++;
    res.set_header("Cache-Control", "no-cache");
    res.set_chunked_content_provider(
        contentType, [state, &control](size_t, httplib::DataSink& sink) { return pump(*state, sink, control); },
        [&control](bool) { control.activeStreams--; });
}

} // namespace EventPump
