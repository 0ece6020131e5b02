#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>

namespace httplib {
class Server;
struct Request;
struct Response;
} // namespace httplib

// Registers the relay's routes with the HTTP server and knows them all, so that an unknown
// path gets 404 and a known path with another method gets 405 before any body is read. An
// optional interceptor sees every routed request first (scenario mode records requests and
// answers scripted ones there).
class Router {
public:
    using Handler = std::function<void(const httplib::Request&, httplib::Response&)>;
    using Interceptor = std::function<bool(const httplib::Request&, httplib::Response&)>;

    explicit Router(httplib::Server& server);

    void setInterceptor(Interceptor interceptor) { m_interceptor = std::move(interceptor); }
    void get(const std::string& path, Handler handler);
    void post(const std::string& path, Handler handler);
    // For the server's pre-routing hook: true when the request was answered with 404 or 405.
    bool rejectUnrouted(const httplib::Request& req, httplib::Response& res) const;
    // Whether the request being served on this thread reached a route handler (whose
    // answer, empty error bodies included, is then final).
    static bool reachedHandler();
    // Forgets that mark once the response is written (the next request on this connection
    // may fail before routing).
    static void finishRequest();
    // The user the request being served on this thread acts for (0: nobody yet), for its log line.
    static void noteUser(std::int64_t userId);
    static std::int64_t currentUser();

private:
    Handler wrap(Handler handler);

    httplib::Server& m_server;
    std::map<std::string, std::set<std::string>> m_methods;
    Interceptor m_interceptor;
};
