#pragma once

#include <string>

namespace httplib {
struct Request;
struct Response;
}
class Router;
class SessionStore;

// Sign-in and account endpoints: the login page and its form, the code exchange, "api/me",
// logout, and the account page with session revocation. Forms carry a per-process form token
// so that other web pages cannot post them.
class AuthRoutes {
public:
    AuthRoutes(SessionStore& store, std::string formToken);
    void install(Router& router);

private:
    void loginPage(const httplib::Request& req, httplib::Response& res);
    void loginForm(const httplib::Request& req, httplib::Response& res);
    void exchange(const httplib::Request& req, httplib::Response& res);
    void me(const httplib::Request& req, httplib::Response& res);
    void logout(const httplib::Request& req, httplib::Response& res);
    void accountPage(const httplib::Request& req, httplib::Response& res);
    void revoke(const httplib::Request& req, httplib::Response& res);
    bool formTokenMatches(const httplib::Request& req, httplib::Response& res);

    SessionStore& m_store;
    std::string m_formToken;
};
