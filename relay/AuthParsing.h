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

} // namespace AuthParsing
