#pragma once

#include <fstream>
#include <mutex>
#include <string>

namespace httplib {
struct Request;
}

// Scenario mode's record of received requests: one JSON object per line with "method",
// "path", "query", "headers" (name to value; repeated names joined with ", ") and "body".
// It holds tokens as sent, which is why only the test-only scenario mode may write it.
class RequestLog {
public:
    bool open(const std::string& path, std::string* error);
    bool isOpen() const { return m_out.is_open(); }
    void record(const httplib::Request& req);

private:
    std::ofstream m_out;
    std::mutex m_mutex;
};
