#pragma once

#include <string>

namespace httplib {
struct Request;
struct Response;
} // namespace httplib
class MessagesRequest;
class Router;
class SessionStore;
class UpstreamProxy;
class UserLimits;
struct StreamControl;

// The model relay, "api/ai/messages": checks the bearer token and the body, then answers
// from the offline demo or through the upstream proxy. In demo mode it also serves
// "v1/messages" like the Messages API itself (key in "x-api-key", model required), so that
// one demo relay can stand upstream of another. Each user's requests are held to the
// configured limits (429 with rate_limit_error over them).
class MessagesRoute {
public:
    enum class Mode { Demo, Proxy, Scenario };

    MessagesRoute(Mode mode, SessionStore& store, UserLimits& limits, StreamControl& control, int paceMs,
                  UpstreamProxy* proxy);
    void install(Router& router);

    static constexpr std::size_t maxBodyBytes = 8 * 1024 * 1024;

private:
    void relay(const httplib::Request& req, httplib::Response& res);
    void messagesApi(const httplib::Request& req, httplib::Response& res);
    void demo(const MessagesRequest& request, httplib::Response& res, const std::string& action);

    Mode m_mode;
    SessionStore& m_store;
    UserLimits& m_limits;
    StreamControl& m_control;
    int m_paceMs;
    UpstreamProxy* m_proxy;
};
