// Sign-in input: bearer headers, exchange bodies, e-mail and state checks, and the escaping
// of values placed into the login page.
#include "AccountPages.h"
#include "AuthParsing.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    if (auto token = AuthParsing::bearerToken(text)) {
        if (token->empty() || token->find_first_of(" \t\r\n") != std::string::npos)
            std::abort();
    }
    AuthParsing::exchangeFields(text);
    AuthParsing::isValidEmail(text);
    AuthParsing::isLoopbackHost(text);
    std::string escaped = AccountPages::escape(text);
    if (escaped.find_first_of("<>\"'") != std::string::npos)
        std::abort(); // an escaped value cannot open or close markup or attributes
    if (AuthParsing::isValidState(text)) {
        std::string page = AccountPages::login(text, "form-token", text);
        if (page.find("<script") != std::string::npos)
            std::abort();
    }
    return 0;
}
