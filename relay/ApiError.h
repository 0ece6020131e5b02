#pragma once

#include <string>

namespace httplib {
struct Response;
}

// Error bodies. Model endpoints answer in the Messages API form
// {"type":"error","error":{"type":...,"message":...}}; account endpoints answer {"error": message}.
namespace ApiError {

std::string messagesBody(const std::string& type, const std::string& message);
void sendMessagesError(httplib::Response& res, int status, const std::string& type, const std::string& message);
void sendAccountError(httplib::Response& res, int status, const std::string& message);
// The Messages API error type that goes with an HTTP status.
std::string typeForStatus(int status);

} // namespace ApiError
