// Model request bodies: parsing, the accessors the demo uses, and the demo's answer.
#include "DemoAnswer.h"
#include "MessagesRequest.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string body(reinterpret_cast<const char*>(data), size);
    std::string problem;
    auto request = MessagesRequest::parse(body, &problem);
    if (request.has_value() != problem.empty())
        std::abort(); // exactly one of a request or a reason
    if (!request)
        return 0;
    for (const std::string& event : DemoAnswer::events(*request, size % 2 ? "rewrite" : "explain")) {
        if (event.rfind("event: ", 0) != 0 || event.size() < 2 || event.compare(event.size() - 2, 2, "\n\n") != 0)
            std::abort();
    }
    return 0;
}
