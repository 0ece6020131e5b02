#include "AuthRoutes.h"

#include "AccountPages.h"
#include "ApiError.h"
#include "AuthParsing.h"
#include "Router.h"
#include "Secrets.h"
#include "SessionStore.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <httplib.h>

#include <charconv>

namespace {

void sendHtml(httplib::Response& res, int status, const std::string& html)
{
    res.status = status;
    res.set_header("Content-Security-Policy", AccountPages::contentSecurityPolicy());
    res.set_header("Referrer-Policy", "no-referrer");
    res.set_header("Cache-Control", "no-store");
    res.set_header("X-Content-Type-Options", "nosniff");
    res.set_content(html, "text/html; charset=utf-8");
}

void sendJson(httplib::Response& res, const QJsonObject& o)
{
    res.status = 200;
    res.set_header("Cache-Control", "no-store");
    res.set_content(QJsonDocument(o).toJson(QJsonDocument::Compact).toStdString(), "application/json");
}

std::string percentEncode(const std::string& text)
{
    return QByteArray::fromStdString(text).toPercentEncoding().toStdString();
}

std::string exchangeProblem(SessionStore::Exchange result)
{
    switch (result) {
    case SessionStore::Exchange::Used:
        return "This sign-in link has already been used. Choose Sign In again.";
    case SessionStore::Exchange::Expired:
        return "This sign-in link has expired. Choose Sign In again.";
    case SessionStore::Exchange::StateMismatch:
        return "This sign-in link belongs to another sign-in. Choose Sign In again.";
    default:
        return "This sign-in link is not valid. Choose Sign In again.";
    }
}

} // namespace

AuthRoutes::AuthRoutes(SessionStore& store, std::string formToken) : m_store(store), m_formToken(std::move(formToken))
{
}

void AuthRoutes::install(Router& router)
{
    router.get("/login", [this](const auto& req, auto& res) { loginPage(req, res); });
    router.post("/login", [this](const auto& req, auto& res) { loginForm(req, res); });
    router.post("/api/auth/app/exchange", [this](const auto& req, auto& res) { exchange(req, res); });
    router.get("/api/me", [this](const auto& req, auto& res) { me(req, res); });
    router.post("/api/auth/logout", [this](const auto& req, auto& res) { logout(req, res); });
    router.get("/account", [this](const auto& req, auto& res) { accountPage(req, res); });
    router.post("/account/revoke", [this](const auto& req, auto& res) { revoke(req, res); });
}

void AuthRoutes::loginPage(const httplib::Request& req, httplib::Response& res)
{
    std::string state = req.get_param_value("state");
    if (req.get_param_value("client") != "app" || !AuthParsing::isValidState(state))
        return sendHtml(res, 400,
                        AccountPages::message("Sign-in link incomplete", "Start the sign-in from Halvora's settings."));
    sendHtml(res, 200, AccountPages::login(state, m_formToken, ""));
}

bool AuthRoutes::formTokenMatches(const httplib::Request& req, httplib::Response& res)
{
    if (Secrets::equalConstantTime(req.get_param_value("form_token"), m_formToken))
        return true;
    sendHtml(res, 403, AccountPages::message("Form expired", "This form is out of date. Go back and reload the page."));
    return false;
}

void AuthRoutes::loginForm(const httplib::Request& req, httplib::Response& res)
{
    if (!formTokenMatches(req, res))
        return;
    std::string state = req.get_param_value("state");
    std::string email = req.get_param_value("email");
    if (req.get_param_value("client") != "app" || !AuthParsing::isValidState(state))
        return sendHtml(res, 400,
                        AccountPages::message("Sign-in link incomplete", "Start the sign-in from Halvora's settings."));
    if (!AuthParsing::isValidEmail(email))
        return sendHtml(res, 400, AccountPages::login(state, m_formToken, "Enter a valid e-mail address."));
    std::string code = m_store.createCode(state, email);
    std::string callback = "halvora://auth?code=" + percentEncode(code) + "&state=" + percentEncode(state);
    sendHtml(res, 200, AccountPages::callbackLink(callback, email));
}

void AuthRoutes::exchange(const httplib::Request& req, httplib::Response& res)
{
    auto fields = AuthParsing::exchangeFields(req.body);
    if (!fields)
        return ApiError::sendAccountError(res, 400, "The sign-in request was not understood. Choose Sign In again.");
    std::string token;
    std::string email;
    auto result = m_store.exchange(fields->code, fields->state, &token, &email);
    if (result != SessionStore::Exchange::Ok)
        return ApiError::sendAccountError(res, 400, exchangeProblem(result));
    sendJson(res, {{"token", QString::fromStdString(token)}, {"email", QString::fromStdString(email)}});
}

void AuthRoutes::me(const httplib::Request& req, httplib::Response& res)
{
    auto token = AuthParsing::bearerToken(req.get_header_value("Authorization"));
    auto email = token ? m_store.emailForToken(*token) : std::nullopt;
    if (!email)
        return ApiError::sendAccountError(res, 401, "You are not signed in.");
    sendJson(res, {{"email", QString::fromStdString(*email)}});
}

void AuthRoutes::logout(const httplib::Request& req, httplib::Response& res)
{
    if (auto token = AuthParsing::bearerToken(req.get_header_value("Authorization")))
        m_store.revokeToken(*token);
    sendJson(res, {});
}

void AuthRoutes::accountPage(const httplib::Request&, httplib::Response& res)
{
    sendHtml(res, 200, AccountPages::account(m_store.sessions(), m_formToken));
}

void AuthRoutes::revoke(const httplib::Request& req, httplib::Response& res)
{
    if (!formTokenMatches(req, res))
        return;
    std::string idText = req.get_param_value("id");
    std::int64_t id = 0;
    auto [end, ec] = std::from_chars(idText.data(), idText.data() + idText.size(), id);
    if (ec != std::errc() || end != idText.data() + idText.size())
        return sendHtml(res, 400, AccountPages::message("Unknown session", "That session does not exist."));
    m_store.revokeSession(id);
    res.set_redirect("/account", 303);
}
