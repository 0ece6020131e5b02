#pragma once

#include <optional>
#include <string>

// Checks of the untrusted parts of sign-in requests: the bearer header, the exchange body,
// and the e-mail address and state value of the sign-in form.
namespace AuthParsing {

// The token of an "Authorization: Bearer T" header value, when it is well-formed.
std::optional<std::string> bearerToken(const std::string& header);

struct ExchangeFields {
    std::string code;
    std::string state;
};
// The "code" and "state" strings of an exchange body, when it is a JSON object holding both.
std::optional<ExchangeFields> exchangeFields(const std::string& body);

// A plausible address: one "@" with text on both sides, no spaces or control characters, at most 254 bytes.
bool isValidEmail(const std::string& email);
// A state value the program could have made: 1 to 512 printable ASCII characters without spaces.
bool isValidState(const std::string& state);

// Whether a Host header names this computer (127.0.0.1, localhost or [::1], any port). Pages
// that show accounts check it, so that a web page whose name was rebound to this address
// cannot read them.
bool isLoopbackHost(const std::string& host);
// Whether a peer address is a loopback address.
bool isLoopbackPeer(const std::string& address);
// The last entry of an X-Forwarded-For value (the address the nearest proxy saw), without
// spaces, when it is a plausible address: 1 to 64 characters of hex digits, '.', ':' and
// '[', ']'; otherwise empty.
std::string lastForwardedAddress(const std::string& header);

} // namespace AuthParsing
