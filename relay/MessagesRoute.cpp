#include "MessagesRoute.h"

#include "ApiError.h"
#include "AuthParsing.h"
#include "DemoAnswer.h"
#include "EventPump.h"
#include "MessagesRequest.h"
#include "Router.h"
#include "SessionStore.h"
#include "UpstreamProxy.h"
#include "UserLimits.h"

#include <algorithm>
#include <httplib.h>

namespace {

// The action header names one of a few lower-case words; anything else is not shown back.
std::string actionName(const std::string& header)
{
    bool plain = !header.empty() && header.size() <= 20 &&
                 std::all_of(header.begin(), header.end(), [](char c) { return c >= 'a' && c <= 'z'; });
    return plain ? header : std::string();
}

void noScriptedResponse(httplib::Response& res)
{
    ApiError::sendMessagesError(res, 500, "api_error", "The scenario has no response left for this request.");
}

// Keeps the user's stream slot until the response's content has been sent (or, for an answer
// without streamed content, until the handler returns).
void holdUntilSent(httplib::Response& res, UserLimits::Lease lease)
{
    if (!res.content_provider_)
        return;
    auto previous = std::move(res.content_provider_resource_releaser_);
    res.content_provider_resource_releaser_ = [previous, lease = std::move(lease)](bool success) {
        if (previous)
            previous(success);
    };
}

bool admitted(UserLimits& limits, std::int64_t userId, httplib::Response& res, UserLimits::Lease* lease)
{
    auto now = UserLimits::Clock::now();
    switch (limits.admit(userId, now, lease)) {
    case UserLimits::Verdict::Ok:
        return true;
    case UserLimits::Verdict::TooManyStreams:
        res.set_header("Retry-After", "1");
        ApiError::sendMessagesError(res, 429, "rate_limit_error",
                                    "Too many answers are streaming for your account at once. Wait for one to finish.");
        return false;
    case UserLimits::Verdict::TooManyRequests:
        res.set_header("Retry-After", std::to_string(limits.retryAfterSeconds(userId, now)));
        ApiError::sendMessagesError(res, 429, "rate_limit_error",
                                    "Your account has sent too many requests this minute. Try again shortly.");
        return false;
    }
    return false;
}

} // namespace

MessagesRoute::MessagesRoute(Mode mode, SessionStore& store, UserLimits& limits, StreamControl& control, int paceMs,
                             UpstreamProxy* proxy)
    : m_mode(mode), m_store(store), m_limits(limits), m_control(control), m_paceMs(paceMs), m_proxy(proxy)
{}

void MessagesRoute::install(Router& router)
{
    router.post("/api/ai/messages", [this](const auto& req, auto& res) { relay(req, res); });
    router.post("/v1/messages", [this](const auto& req, auto& res) { messagesApi(req, res); });
}

void MessagesRoute::relay(const httplib::Request& req, httplib::Response& res)
{
    if (m_mode == Mode::Scenario)
        return noScriptedResponse(res);
    auto token = AuthParsing::bearerToken(req.get_header_value("Authorization"));
    SessionStore::Account account;
    auto found = token ? m_store.accountForToken(*token, &account) : SessionStore::Lookup::NotFound;
    if (found == SessionStore::Lookup::Unavailable)
        return ApiError::sendMessagesError(res, 503, "api_error",
                                           "The relay cannot reach its database. Try again in a moment.");
    if (found == SessionStore::Lookup::NotFound)
        return ApiError::sendMessagesError(res, 401, "authentication_error", "Your session has ended. Sign in again.");
    Router::noteUser(account.userId);
    std::string problem;
    auto request = MessagesRequest::parse(req.body, &problem);
    if (!request)
        return ApiError::sendMessagesError(res, 400, "invalid_request_error", problem);
    UserLimits::Lease lease;
    if (!admitted(m_limits, account.userId, res, &lease))
        return;
    if (m_mode == Mode::Proxy)
        m_proxy->forward(request->body(), res);
    else
        demo(*request, res, actionName(req.get_header_value("X-Halvora-Action")));
    holdUntilSent(res, std::move(lease));
}

void MessagesRoute::messagesApi(const httplib::Request& req, httplib::Response& res)
{
    if (m_mode == Mode::Scenario)
        return noScriptedResponse(res);
    if (m_mode != Mode::Demo)
        return ApiError::sendMessagesError(res, 404, "not_found_error", "Not found.");
    if (req.get_header_value("x-api-key").empty())
        return ApiError::sendMessagesError(res, 401, "authentication_error", "invalid x-api-key");
    std::string problem;
    auto request = MessagesRequest::parse(req.body, &problem);
    if (request && !request->body().value("model").isString())
        problem = "model: Field required";
    if (!problem.empty())
        return ApiError::sendMessagesError(res, 400, "invalid_request_error", problem);
    demo(*request, res, "");
}

void MessagesRoute::demo(const MessagesRequest& request, httplib::Response& res, const std::string& action)
{
    EventPlan plan;
    plan.chunks = DemoAnswer::events(request, action);
    plan.delayMs = m_paceMs;
    res.status = 200;
    EventPump::attach(res, "text/event-stream", std::move(plan), m_control);
}
