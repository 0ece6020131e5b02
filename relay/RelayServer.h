#pragma once

#include "EventPump.h"
#include "RelayOptions.h"

#include <memory>
#include <string>

namespace httplib {
class Server;
}
class AuthRoutes;
class Database;
class LoginThrottle;
class MessagesRoute;
class RequestLog;
class Router;
class Scenario;
class SessionStore;
class UpstreamProxy;
class UserLimits;
class UserStore;

// The relay: opens the database, loads a scenario when asked, binds the listening socket (TLS
// when a certificate is given) and serves until stop(). One log line per request goes to
// standard error (method, path without query, status, duration, the user's id once known),
// never a token, password, key, code or body.
class RelayServer {
public:
    RelayServer(RelayOptions options, std::string apiKey);
    ~RelayServer();

    // Prepares everything and binds; false with a message when the relay cannot start.
    bool start(std::string* error);
    int port() const { return m_port; }
    std::string baseUrl() const;
    // Serves requests until stop() is called (from any thread).
    void run();
    void stop();

private:
    bool prepareMode(std::string* error);
    bool prepareDatabase(std::string* error);
    bool createServer(std::string* error);
    void configureServer();
    void installScenario();

    RelayOptions m_options;
    std::string m_apiKey;
    StreamControl m_control;
    std::unique_ptr<httplib::Server> m_server;
    std::unique_ptr<Database> m_db;
    std::unique_ptr<SessionStore> m_store;
    std::unique_ptr<UserStore> m_users;
    std::unique_ptr<LoginThrottle> m_throttle;
    std::unique_ptr<UserLimits> m_limits;
    std::string m_formToken;
    std::unique_ptr<Scenario> m_scenario;
    std::unique_ptr<RequestLog> m_requestLog;
    std::unique_ptr<UpstreamProxy> m_proxy;
    std::unique_ptr<Router> m_router;
    std::unique_ptr<AuthRoutes> m_auth;
    std::unique_ptr<MessagesRoute> m_messages;
    int m_port = 0;
};
