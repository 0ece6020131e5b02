#pragma once

#include <cstddef>
#include <string>

// Random values and digests for sign-in codes, tokens and form tokens. Random bytes come from
// OpenSSL's generator; a failing generator is fatal (nothing weaker is ever substituted).
namespace Secrets {

// `bytes` random bytes in URL-safe Base64 without padding.
std::string randomToken(std::size_t bytes);

// Lower-case hexadecimal SHA-256 of `text`.
std::string sha256Hex(const std::string& text);

// Compares two strings in time that depends only on their lengths.
bool equalConstantTime(const std::string& a, const std::string& b);

} // namespace Secrets
