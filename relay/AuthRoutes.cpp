#include "AuthRoutes.h"

#include "AccountPages.h"
#include "ApiError.h"
#include "AuthParsing.h"
#include "LoginThrottle.h"
#include "PasswordHash.h"
#include "Router.h"
#include "Secrets.h"
#include "SessionStore.h"
#include "UserStore.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <charconv>
#include <chrono>
#include <httplib.h>

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

const char* const unavailable = "The relay cannot reach its database. Try again in a moment.";

std::int64_t nowSeconds()
{
    using namespace std::chrono;
    return duration_cast<seconds>(system_clock::now().time_since_epoch()).count();
}

std::string waitText(std::int64_t seconds)
{
    if (seconds < 60)
        return std::to_string(seconds) + (seconds == 1 ? " second" : " seconds");
    std::int64_t minutes = (seconds + 59) / 60;
    return std::to_string(minutes) + (minutes == 1 ? " minute" : " minutes");
}

} // namespace

AuthRoutes::AuthRoutes(SessionStore& sessions, UserStore& users, LoginThrottle& throttle, std::string formToken,
                       Config config)
    : m_sessions(sessions), m_users(users), m_throttle(throttle), m_formToken(std::move(formToken)), m_config(config)
{}

void AuthRoutes::install(Router& router)
{
    router.get("/login", [this](const auto& req, auto& res) { loginPage(req, res); });
    router.post("/login", [this](const auto& req, auto& res) { loginForm(req, res); });
    router.post("/api/auth/app/exchange", [this](const auto& req, auto& res) { exchange(req, res); });
    router.get("/api/me", [this](const auto& req, auto& res) { me(req, res); });
    router.post("/api/auth/logout", [this](const auto& req, auto& res) { logout(req, res); });
    router.get("/account", [this](const auto& req, auto& res) { accountPage(req, res); });
    router.get("/", [](const auto&, auto& res) { res.set_redirect("/account", 303); });
    router.post("/account/revoke", [this](const auto& req, auto& res) { revoke(req, res); });
}

void AuthRoutes::loginPage(const httplib::Request& req, httplib::Response& res)
{
    std::string state = req.get_param_value("state");
    if (req.get_param_value("client") != "app" || !AuthParsing::isValidState(state))
        return sendHtml(res, 400,
                        AccountPages::message("Sign-in link incomplete", "Start the sign-in from Halvora's settings."));
    sendHtml(res, 200, AccountPages::login(state, m_formToken, "", m_config.accounts));
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
    if (req.get_param_value("client") != "app" || !AuthParsing::isValidState(state))
        return sendHtml(res, 400,
                        AccountPages::message("Sign-in link incomplete", "Start the sign-in from Halvora's settings."));
    if (m_config.accounts)
        return passwordSignIn(req, res, state);
    std::string email = req.get_param_value("email");
    if (!AuthParsing::isValidEmail(email))
        return sendHtml(res, 400, AccountPages::login(state, m_formToken, "Enter a valid e-mail address."));
    auto user = m_users.ensure(email);
    if (!user)
        return sendHtml(res, 503, AccountPages::login(state, m_formToken, unavailable));
    issueCode(res, state, email, user->id);
}

// Every refusal reads the same whether or not the address belongs to a user, and an unknown
// address costs as much time and counts as much toward the slow-down as a wrong password.
void AuthRoutes::passwordSignIn(const httplib::Request& req, httplib::Response& res, const std::string& state)
{
    auto problem = [&](int status, const std::string& text) {
        sendHtml(res, status, AccountPages::login(state, m_formToken, text, true));
    };
    std::string email = UserStore::normalizedEmail(req.get_param_value("email"));
    std::string password = req.get_param_value("password");
    if (!AuthParsing::isValidEmail(email) || password.empty())
        return problem(400, "Enter your e-mail address and password.");
    const std::string account = LoginThrottle::accountSubject(email);
    const std::string address = LoginThrottle::addressSubject(clientAddress(req));
    const std::int64_t now = nowSeconds();
    std::int64_t wait = std::max(m_throttle.remainingWait(account, LoginThrottle::perAccount, now),
                                 m_throttle.remainingWait(address, LoginThrottle::perAddress, now));
    if (wait > 0) {
        res.set_header("Retry-After", std::to_string(wait));
        return problem(429, "Too many failed sign-in attempts. Try again in " + waitText(wait) + ".");
    }
    bool failed = false;
    auto user = m_users.find(email, &failed);
    if (failed)
        return problem(503, unavailable);
    bool fits = password.size() <= PasswordHash::maxLength;
    bool matches = PasswordHash::verify(user && fits ? user->passwordHash : std::string(), fits ? password : "");
    if (!user || !matches) {
        m_throttle.recordFailure(account, now);
        m_throttle.recordFailure(address, now);
        return problem(401, "The e-mail address or password is not correct.");
    }
    m_throttle.clear(account);
    issueCode(res, state, user->email, user->id);
}

void AuthRoutes::issueCode(httplib::Response& res, const std::string& state, const std::string& email,
                           std::int64_t userId)
{
    Router::noteUser(userId);
    std::string code = m_sessions.createCode(state, {userId, email});
    if (code.empty())
        return sendHtml(res, 503, AccountPages::login(state, m_formToken, unavailable, m_config.accounts));
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
    auto result = m_sessions.exchange(fields->code, fields->state, &token, &email);
    if (result == SessionStore::Exchange::Unavailable)
        return ApiError::sendAccountError(res, 503, unavailable);
    if (result != SessionStore::Exchange::Ok)
        return ApiError::sendAccountError(res, 400, exchangeProblem(result));
    sendJson(res, {{"token", QString::fromStdString(token)}, {"email", QString::fromStdString(email)}});
}

void AuthRoutes::me(const httplib::Request& req, httplib::Response& res)
{
    auto token = AuthParsing::bearerToken(req.get_header_value("Authorization"));
    SessionStore::Account account;
    auto found = token ? m_sessions.accountForToken(*token, &account) : SessionStore::Lookup::NotFound;
    // An unreachable database is not a reason to sign the program out.
    if (found == SessionStore::Lookup::Unavailable)
        return ApiError::sendAccountError(res, 503, unavailable);
    if (found == SessionStore::Lookup::NotFound)
        return ApiError::sendAccountError(res, 401, "You are not signed in.");
    Router::noteUser(account.userId);
    sendJson(res, {{"email", QString::fromStdString(account.email)}});
}

void AuthRoutes::logout(const httplib::Request& req, httplib::Response& res)
{
    if (auto token = AuthParsing::bearerToken(req.get_header_value("Authorization")))
        m_sessions.revokeToken(*token);
    sendJson(res, {});
}

std::string AuthRoutes::clientAddress(const httplib::Request& req) const
{
    if (!m_config.behindTlsProxy)
        return req.remote_addr;
    // The proxy appends the address it saw; earlier entries come from the client and prove nothing.
    std::size_t count = req.get_header_value_count("X-Forwarded-For");
    std::string forwarded =
        count ? AuthParsing::lastForwardedAddress(req.get_header_value("X-Forwarded-For", count - 1)) : "";
    return forwarded.empty() ? req.remote_addr : forwarded;
}

bool AuthRoutes::isLocal(const httplib::Request& req, httplib::Response& res)
{
    // A request a proxy forwarded comes from the proxy's address, not from this computer's user.
    bool forwarded = req.has_header("X-Forwarded-For") || req.has_header("Forwarded");
    if (!forwarded && AuthParsing::isLoopbackPeer(req.remote_addr) &&
        AuthParsing::isLoopbackHost(req.get_header_value("Host")))
        return true;
    sendHtml(
        res, 403,
        AccountPages::message(
            "Account", "The account page is only available on the computer the relay runs on, at http://127.0.0.1."));
    return false;
}

void AuthRoutes::accountPage(const httplib::Request& req, httplib::Response& res)
{
    if (!isLocal(req, res))
        return;
    sendHtml(res, 200, AccountPages::account(m_sessions.sessions(), m_formToken));
}

void AuthRoutes::revoke(const httplib::Request& req, httplib::Response& res)
{
    if (!isLocal(req, res) || !formTokenMatches(req, res))
        return;
    std::string idText = req.get_param_value("id");
    std::int64_t id = 0;
    auto [end, ec] = std::from_chars(idText.data(), idText.data() + idText.size(), id);
    if (ec != std::errc() || end != idText.data() + idText.size())
        return sendHtml(res, 400, AccountPages::message("Unknown session", "That session does not exist."));
    m_sessions.revokeSession(id);
    res.set_redirect("/account", 303);
}
