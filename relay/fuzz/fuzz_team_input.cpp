// A relay for a team: command lines (arguments separated by NUL bytes), forwarded client
// addresses, the sign-in slow-down and the password form. Whatever the arguments, the relay
// never agrees to listen beyond this computer without accounts and TLS (or a TLS proxy).
#include "AccountPages.h"
#include "AuthParsing.h"
#include "LoginThrottle.h"
#include "RelayOptions.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void checkOptions(const std::string& text)
{
    std::vector<std::string> args;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size() && args.size() < 32; ++i) {
        if (i == text.size() || text[i] == '\0') {
            args.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    RelayOptions o = RelayOptions::parse(args);
    if (!o.error.empty() || o.showHelp || o.showVersion)
        return;
    if (!o.userCommand.empty()) {
        if (o.userCommand != "list" && o.userEmail.empty())
            std::abort();
        return;
    }
    bool reachable = !RelayOptions::isLoopbackAddress(o.bind);
    if (reachable && (!o.accounts || (o.tlsCert.empty() && !o.behindTlsProxy)))
        std::abort(); // an open relay
    if ((o.behindTlsProxy && !o.accounts) || o.tlsCert.empty() != o.tlsKey.empty())
        std::abort();
}

void checkThrottle(int failures)
{
    for (const auto& rule : {LoginThrottle::perAccount, LoginThrottle::perAddress}) {
        std::int64_t wait = LoginThrottle::waitAfter(failures, rule);
        if (wait < 0 || wait > LoginThrottle::maxWaitSeconds || wait < LoginThrottle::waitAfter(failures - 1, rule))
            std::abort(); // out of bounds, or shorter after one more failure
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    checkOptions(text);
    std::string forwarded = AuthParsing::lastForwardedAddress(text);
    if (forwarded.size() > 64 || forwarded.find_first_of(" ,\t\r\n<>\"'") != std::string::npos)
        std::abort();
    checkThrottle(size >= 2 ? int(data[0]) << 8 | data[1] : 0);
    if (AuthParsing::isValidState(text)) {
        std::string page = AccountPages::login(text, "form-token", text, true);
        if (page.find("<script") != std::string::npos || page.find("type=\"password\"") == std::string::npos)
            std::abort();
    }
    return 0;
}
