#include "MessagesRoute.h"

#include "ApiError.h"
#include "AuthParsing.h"
#include "DemoAnswer.h"
#include "EventPump.h"
#include "MessagesRequest.h"
#include "Router.h"
#include "SessionStore.h"
#include "UpstreamProxy.h"

#include <httplib.h>

namespace {

void noScriptedResponse(httplib::Response& res)
{
    ApiError::sendMessagesError(res, 500, "api_error", "The scenario has no response left for this request.");
}

} // namespace

MessagesRoute::MessagesRoute(Mode mode, SessionStore& store, StreamControl& control, int paceMs, UpstreamProxy* proxy)
    : m_mode(mode), m_store(store), m_control(control), m_paceMs(paceMs), m_proxy(proxy)
{
}

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
    if (!token || !m_store.emailForToken(*token))
        return ApiError::sendMessagesError(res, 401, "authentication_error", "Your session has ended. Sign in again.");
    std::string problem;
    auto request = MessagesRequest::parse(req.body, &problem);
    if (!request)
        return ApiError::sendMessagesError(res, 400, "invalid_request_error", problem);
    if (m_mode == Mode::Proxy)
        return m_proxy->forward(request->body(), res);
    demo(*request, res, req.get_header_value("X-Halvora-Action"));
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
