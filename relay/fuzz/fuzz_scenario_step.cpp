// Scenario step files and event-stream splitting.
#include "ScenarioStep.h"
#include "SseEvents.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    std::string joined;
    for (const std::string& event : SseEvents::split(text))
        joined += event;
    if (joined != text)
        std::abort(); // splitting must keep every byte, in order
    std::string error;
    auto step = ScenarioStep::fromJson(text, &error);
    if (step && (step->status < 100 || step->status > 599 || !error.empty()))
        std::abort();
    if (step && !step->sseFile.empty() && !ScenarioStep::isSafeRelativePath(step->sseFile))
        std::abort();
    for (const auto& [name, value] : step ? step->headers : decltype(step->headers){}) {
        if (name.find_first_of("\r\n:") != std::string::npos || value.find_first_of("\r\n") != std::string::npos)
            std::abort(); // no header injection through a step file
    }
    return 0;
}
