#pragma once

#include "SessionStore.h"

#include <string>
#include <vector>

// The relay's HTML pages: plain, self-contained (no scripts, no outside resources), with
// every untrusted value escaped.
namespace AccountPages {

std::string escape(const std::string& text);
// Asks for an e-mail address (and the password when `withPassword`); posts back to "login"
// with the state and the form token.
std::string login(const std::string& state, const std::string& formToken, const std::string& problem,
                  bool withPassword = false);
// Sends the browser to `callback` and shows the same address as a link.
std::string callbackLink(const std::string& callback, const std::string& email);
std::string account(const std::vector<SessionStore::Session>& sessions, const std::string& formToken);
std::string message(const std::string& title, const std::string& text);
// The Content-Security-Policy that goes with these pages.
const char* contentSecurityPolicy();

} // namespace AccountPages
