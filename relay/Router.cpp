#include "Router.h"

#include "ApiError.h"

#include <httplib.h>

namespace {

thread_local bool handlerReached = false;
thread_local std::int64_t requestUser = 0;

} // namespace

Router::Router(httplib::Server& server) : m_server(server) {}

bool Router::reachedHandler()
{
    return handlerReached;
}

void Router::finishRequest()
{
    handlerReached = false;
    requestUser = 0;
}

void Router::noteUser(std::int64_t userId)
{
    requestUser = userId;
}

std::int64_t Router::currentUser()
{
    return requestUser;
}

Router::Handler Router::wrap(Handler handler)
{
    return [this, handler = std::move(handler)](const httplib::Request& req, httplib::Response& res) {
        handlerReached = true;
        if (m_interceptor && m_interceptor(req, res))
            return;
        handler(req, res);
    };
}

void Router::get(const std::string& path, Handler handler)
{
    m_methods[path].insert({"GET", "HEAD"});
    m_server.Get(path, wrap(std::move(handler)));
}

void Router::post(const std::string& path, Handler handler)
{
    m_methods[path].insert("POST");
    m_server.Post(path, wrap(std::move(handler)));
}

bool Router::rejectUnrouted(const httplib::Request& req, httplib::Response& res) const
{
    handlerReached = false;
    requestUser = 0;
    auto it = m_methods.find(req.path);
    if (it == m_methods.end()) {
        ApiError::sendMessagesError(res, 404, "not_found_error", "Not found.");
        return true;
    }
    if (it->second.count(req.method))
        return false;
    std::string allowed;
    for (const std::string& method : it->second)
        allowed += (allowed.empty() ? "" : ", ") + method;
    res.set_header("Allow", allowed);
    ApiError::sendMessagesError(res, 405, "invalid_request_error", "Method not allowed.");
    return true;
}
