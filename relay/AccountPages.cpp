#include "AccountPages.h"

#include <ctime>

namespace AccountPages {

namespace {

std::string page(const std::string& title, const std::string& body, const std::string& head = "")
{
    return "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
           "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">" +
           head + "<title>" + escape(title) +
           " \xe2\x80\x93 Halvora</title><style>"
           "body{font-family:system-ui,sans-serif;max-width:36rem;margin:3rem auto;padding:0 1rem;line-height:1.5}"
           "input,button{font:inherit;padding:.4rem .6rem}table{border-collapse:collapse;width:100%}"
           "td,th{text-align:left;padding:.3rem;border-bottom:1px solid #ccc}.problem{color:#b00020}"
           "</style></head><body><main>\n<h1>" +
           escape(title) + "</h1>\n" + body + "\n</main></body></html>\n";
}

std::string formatTime(std::int64_t seconds)
{
    std::time_t t = static_cast<std::time_t>(seconds);
    std::tm tm{};
    gmtime_r(&t, &tm);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M UTC", &tm);
    return text;
}

std::string sessionRow(const SessionStore::Session& s, const std::string& formToken)
{
    std::string action = s.revoked
                             ? "Revoked"
                             : "<form method=\"post\" action=\"account/revoke\">"
                               "<input type=\"hidden\" name=\"id\" value=\"" +
                                   std::to_string(s.id) + "\"><input type=\"hidden\" name=\"form_token\" value=\"" +
                                   escape(formToken) + "\"><button type=\"submit\">Revoke</button></form>";
    return "<tr><td>" + escape(s.email) + "</td><td>" + formatTime(s.createdAt) + "</td><td>" +
           formatTime(s.lastUsedAt) + "</td><td>" + action + "</td></tr>\n";
}

} // namespace

std::string escape(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string login(const std::string& state, const std::string& formToken, const std::string& problem, bool withPassword)
{
    std::string body =
        withPassword
            ? "<p>Enter the e-mail address and password of your account on this relay to sign Halvora in.</p>\n"
            : "<p>Enter your e-mail address to sign Halvora in to this relay.</p>\n"
              "<p>This relay runs on your own computer, so instead of e-mailing you a sign-in link it shows the "
              "link on the next page.</p>\n";
    if (!problem.empty())
        body += "<p class=\"problem\" role=\"alert\">" + escape(problem) + "</p>\n";
    body += "<form method=\"post\" action=\"login\">\n"
            "<label for=\"email\">E-mail address</label><br>\n"
            "<input id=\"email\" name=\"email\" type=\"email\" autocomplete=\"email\" required autofocus>\n";
    if (withPassword)
        body += "<br><label for=\"password\">Password</label><br>\n"
                "<input id=\"password\" name=\"password\" type=\"password\" autocomplete=\"current-password\" "
                "required>\n";
    body += "<input type=\"hidden\" name=\"client\" value=\"app\">\n"
            "<input type=\"hidden\" name=\"state\" value=\"" +
            escape(state) + "\">\n<input type=\"hidden\" name=\"form_token\" value=\"" + escape(formToken) +
            "\">\n<button type=\"submit\">Continue</button>\n</form>";
    return page("Sign in", body);
}

std::string callbackLink(const std::string& callback, const std::string& email)
{
    std::string link = escape(callback);
    std::string body = "<p>Signing in as " + escape(email) +
                       ". Your browser should now offer to open Halvora.</p>\n"
                       "<p>If nothing happens, use this link (it works once, for 10 minutes):</p>\n"
                       "<p><a id=\"callback\" href=\"" +
                       link + "\">Open Halvora and finish signing in</a></p>\n";
    return page("Finish signing in", body, "<meta http-equiv=\"refresh\" content=\"0;url=" + link + "\">");
}

std::string account(const std::vector<SessionStore::Session>& sessions, const std::string& formToken)
{
    std::string rows;
    std::string signedIn;
    for (const auto& s : sessions) {
        rows += sessionRow(s, formToken);
        if (!s.revoked && signedIn.find("<li>" + escape(s.email) + "</li>") == std::string::npos)
            signedIn += "<li>" + escape(s.email) + "</li>";
    }
    std::string body = signedIn.empty() ? "<p>Nobody is signed in on this relay.</p>\n"
                                        : "<p>Signed in on this relay:</p>\n<ul>" + signedIn + "</ul>\n";
    if (!rows.empty())
        body += "<h2>Sessions</h2>\n<table><thead><tr><th>E-mail</th><th>Signed in</th><th>Last used</th>"
                "<th></th></tr></thead><tbody>\n" +
                rows + "</tbody></table>\n<p>Revoking a session signs that copy of Halvora out.</p>";
    return page("Account", body);
}

std::string message(const std::string& title, const std::string& text)
{
    return page(title, "<p>" + escape(text) + "</p>");
}

const char* contentSecurityPolicy()
{
    return "default-src 'none'; style-src 'unsafe-inline'; form-action 'self'; frame-ancestors 'none'";
}

} // namespace AccountPages
