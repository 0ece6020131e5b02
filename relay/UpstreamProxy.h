#pragma once

#include <QJsonObject>

#include <string>

namespace httplib {
struct Response;
}
struct StreamControl;

// Proxy mode: forwards a model request to the Messages API at the upstream address
// (`v1/messages` below it) with the relay's own key and model name, and streams the
// upstream's status, error bodies and event bytes back as they arrive. An upstream 401 or
// 403 means the relay's key is wrong, which is not the user's fault: it becomes a 502 so the
// program does not sign the user out. The key is held in memory only and never logged.
class UpstreamProxy {
public:
    UpstreamProxy(const std::string& upstream, std::string model, std::string apiKey, StreamControl& control);

    void forward(QJsonObject body, httplib::Response& res);

private:
    std::string m_origin;   // scheme://host[:port]
    std::string m_basePath; // ends with '/'
    std::string m_model;
    std::string m_apiKey;
    StreamControl& m_control;
};
