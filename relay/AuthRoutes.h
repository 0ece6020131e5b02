#pragma once

#include <cstdint>
#include <string>

namespace httplib {
struct Request;
struct Response;
} // namespace httplib
class LoginThrottle;
class Router;
class SessionStore;
class UserStore;

// Sign-in and account endpoints: the login page and its form, the code exchange, "api/me",
// logout, and the account page with session revocation. Forms carry a form token (the same
// for every relay on the database) so that other web pages cannot post them; the account
// pages serve only this computer. With accounts on, the login form asks for a password and
// failed attempts are slowed down per account and per address.
class AuthRoutes {
public:
    struct Config {
        bool accounts = false;
        bool behindTlsProxy = false; // the client's address is the last X-Forwarded-For entry
    };

    AuthRoutes(SessionStore& sessions, UserStore& users, LoginThrottle& throttle, std::string formToken, Config config);
    void install(Router& router);

private:
    void loginPage(const httplib::Request& req, httplib::Response& res);
    void loginForm(const httplib::Request& req, httplib::Response& res);
    void passwordSignIn(const httplib::Request& req, httplib::Response& res, const std::string& state);
    void issueCode(httplib::Response& res, const std::string& state, const std::string& email, std::int64_t userId);
    void exchange(const httplib::Request& req, httplib::Response& res);
    void me(const httplib::Request& req, httplib::Response& res);
    void logout(const httplib::Request& req, httplib::Response& res);
    void accountPage(const httplib::Request& req, httplib::Response& res);
    void revoke(const httplib::Request& req, httplib::Response& res);
    bool formTokenMatches(const httplib::Request& req, httplib::Response& res);
    // The account pages answer only requests from this computer that name it in their Host.
    bool isLocal(const httplib::Request& req, httplib::Response& res);
    std::string clientAddress(const httplib::Request& req) const;

    SessionStore& m_sessions;
    UserStore& m_users;
    LoginThrottle& m_throttle;
    std::string m_formToken;
    Config m_config;
};
