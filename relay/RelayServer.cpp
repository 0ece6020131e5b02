#include "RelayServer.h"

#include "ApiError.h"
#include "AuthRoutes.h"
#include "Database.h"
#include "LoginThrottle.h"
#include "MessagesRoute.h"
#include "RequestLog.h"
#include "Router.h"
#include "Scenario.h"
#include "Schema.h"
#include "SessionStore.h"
#include "UpstreamProxy.h"
#include "UserLimits.h"
#include "UserStore.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <httplib.h>
#include <sys/socket.h>

namespace {

constexpr int threadCount = 128;
constexpr int listenBacklog = 512;

// The HTTP library listens with a backlog of 5, which drops connections when many clients
// connect at once; a second listen() on the bound socket widens the queue.
template <class Base> class WideBacklog : public Base {
public:
    using Base::Base;
    bool widenBacklog() { return ::listen(this->svr_sock_, listenBacklog) == 0; }
};

bool widenBacklog(httplib::Server& server)
{
    if (auto* tls = dynamic_cast<WideBacklog<httplib::SSLServer>*>(&server))
        return tls->widenBacklog();
    return static_cast<WideBacklog<httplib::Server>&>(server).widenBacklog();
}

using Clock = std::chrono::steady_clock;
thread_local Clock::time_point requestStart;

std::string defaultDbPath()
{
    const char* data = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    return RelayOptions::defaultDbPath(data ? data : "", home ? home : "");
}

// The path as it may appear in the log: printable ASCII only, at most 200 characters.
std::string loggablePath(const std::string& path)
{
    std::string out = path.empty() ? "-" : path.substr(0, 200);
    for (char& c : out) {
        if (c < 0x20 || c > 0x7e)
            c = '?';
    }
    return out;
}

// Requests the HTTP library rejects before routing (a request line or header too long) have no start time.
void logRequest(const httplib::Request& req, const httplib::Response& res)
{
    const char* method = req.method.empty() ? "-" : req.method.c_str();
    std::string path = loggablePath(req.path);
    std::int64_t user = Router::currentUser();
    std::string who = user > 0 ? " user=" + std::to_string(user) : std::string();
    Router::finishRequest();
    if (requestStart == Clock::time_point()) {
        std::fprintf(stderr, "%s %s %d -%s\n", method, path.c_str(), res.status, who.c_str());
        return;
    }
    auto ms = std::chrono::duration<double, std::milli>(Clock::now() - requestStart).count();
    requestStart = Clock::time_point();
    std::fprintf(stderr, "%s %s %d %.1fms%s\n", method, path.c_str(), res.status, ms, who.c_str());
}

// Error responses the HTTP library makes on its own (413, 400, ...) get an error body too.
void addErrorBody(const httplib::Request&, httplib::Response& res)
{
    if (res.body.empty() && !res.content_provider_ && !Router::reachedHandler())
        ApiError::sendMessagesError(res, res.status, ApiError::typeForStatus(res.status),
                                    res.status == 413 ? "The selection is too large to send."
                                                      : "The request was not understood.");
}

} // namespace

RelayServer::RelayServer(RelayOptions options, std::string apiKey)
    : m_options(std::move(options)), m_apiKey(std::move(apiKey))
{}

RelayServer::~RelayServer() = default;

std::string RelayServer::baseUrl() const
{
    std::string host = m_options.bind.find(':') != std::string::npos ? "[" + m_options.bind + "]" : m_options.bind;
    return (m_options.tlsCert.empty() ? "http://" : "https://") + host + ":" + std::to_string(m_port) + "/";
}

bool RelayServer::prepareMode(std::string* error)
{
    if (!m_options.scenarioDir.empty()) {
        m_scenario = std::make_unique<Scenario>();
        if (!m_scenario->load(m_options.scenarioDir, error))
            return false;
    }
    if (!m_options.recordPath.empty()) {
        m_requestLog = std::make_unique<RequestLog>();
        if (!m_requestLog->open(m_options.recordPath, error))
            return false;
    }
    if (!m_options.upstream.empty()) {
        if (m_apiKey.empty()) {
            *error = "proxy mode needs the key in the environment variable ANTHROPIC_API_KEY";
            return false;
        }
        m_proxy = std::make_unique<UpstreamProxy>(m_options.upstream, m_options.model, m_apiKey, m_control);
    }
    return true;
}

bool RelayServer::prepareDatabase(std::string* error)
{
    std::string location = m_options.dbPath.empty() ? defaultDbPath() : m_options.dbPath;
    m_db = Database::open(location, error);
    if (!m_db || !Schema::migrate(*m_db, error))
        return false;
    m_store = std::make_unique<SessionStore>(*m_db);
    m_users = std::make_unique<UserStore>(*m_db);
    m_throttle = std::make_unique<LoginThrottle>(*m_db);
    auto limit = [this](int given, int teamDefault) {
        return given >= 0 ? given : m_options.accounts ? teamDefault : 0;
    };
    m_limits = std::make_unique<UserLimits>(limit(m_options.maxStreams, RelayOptions::defaultMaxStreams),
                                            limit(m_options.requestsPerMinute, RelayOptions::defaultRequestsPerMinute));
    m_formToken = m_store->formToken();
    if (m_formToken.empty()) {
        *error = "cannot prepare the database";
        return false;
    }
    if (m_options.accounts) {
        auto users = m_users->all();
        bool anyone = std::any_of(users.begin(), users.end(), [](const auto& u) { return !u.passwordHash.empty(); });
        if (!anyone)
            std::fprintf(stderr, "halvora-relay: nobody can sign in yet; add a user with "
                                 "'halvora-relay user add EMAIL'\n");
    }
    return true;
}

bool RelayServer::createServer(std::string* error)
{
    if (m_options.tlsCert.empty()) {
        m_server = std::make_unique<WideBacklog<httplib::Server>>();
        return true;
    }
    auto tls = std::make_unique<WideBacklog<httplib::SSLServer>>(m_options.tlsCert.c_str(), m_options.tlsKey.c_str());
    if (!tls->is_valid()) {
        *error = "cannot use the certificate " + m_options.tlsCert + " with the key " + m_options.tlsKey;
        return false;
    }
    m_server = std::move(tls);
    return true;
}

bool RelayServer::start(std::string* error)
{
    if (!prepareDatabase(error) || !prepareMode(error) || !createServer(error))
        return false;
    configureServer();
    if (m_options.port == 0)
        m_port = m_server->bind_to_any_port(m_options.bind);
    else
        m_port = m_server->bind_to_port(m_options.bind, m_options.port) ? m_options.port : -1;
    if (m_port <= 0 || !widenBacklog(*m_server)) {
        *error = "cannot listen on " + m_options.bind + " port " + std::to_string(m_options.port);
        return false;
    }
    return true;
}

void RelayServer::configureServer()
{
    using Mode = MessagesRoute::Mode;
    Mode mode = m_scenario ? Mode::Scenario : m_proxy ? Mode::Proxy : Mode::Demo;
    m_router = std::make_unique<Router>(*m_server);
    m_auth = std::make_unique<AuthRoutes>(*m_store, *m_users, *m_throttle, m_formToken,
                                          AuthRoutes::Config{m_options.accounts, m_options.behindTlsProxy});
    m_messages = std::make_unique<MessagesRoute>(mode, *m_store, *m_limits, m_control, m_options.paceMs, m_proxy.get());
    m_auth->install(*m_router);
    m_messages->install(*m_router);
    if (m_scenario)
        installScenario();
    m_server->new_task_queue = [] { return new httplib::ThreadPool(threadCount); };
    m_server->set_payload_max_length(MessagesRoute::maxBodyBytes);
    m_server->set_keep_alive_timeout(2);
    m_server->set_keep_alive_max_count(100000);
    m_server->set_tcp_nodelay(true);
    m_server->set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
        requestStart = Clock::now();
        return m_router->rejectUnrouted(req, res) ? httplib::Server::HandlerResponse::Handled
                                                  : httplib::Server::HandlerResponse::Unhandled;
    });
    m_server->set_error_handler(addErrorBody);
    m_server->set_logger(logRequest);
}

// Scenario mode: every routed request is recorded, then answered by its next scripted step
// when there is one; the stats route shows the open streams.
void RelayServer::installScenario()
{
    m_router->get("/__relay/stats", [this](const auto&, auto& res) {
        res.set_content("{\"active_streams\":" + std::to_string(m_control.activeStreams.load()) +
                            ",\"remaining_steps\":" + std::to_string(m_scenario->remaining()) + "}",
                        "application/json");
    });
    m_router->setInterceptor([this](const httplib::Request& req, httplib::Response& res) {
        if (m_requestLog && req.path != "/__relay/stats")
            m_requestLog->record(req);
        auto step = m_scenario->next(req.path.substr(1));
        if (step)
            ScenarioResponse::send(*step, res, m_control);
        return step.has_value();
    });
}

void RelayServer::run()
{
    m_server->listen_after_bind();
}

void RelayServer::stop()
{
    m_control.stopping = true;
    if (m_server)
        m_server->stop();
}
