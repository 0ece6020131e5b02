#pragma once

#include <string>

// Argon2id password hashes (libsodium's crypto_pwhash_str, interactive limits). At most two
// hashes are computed at once, so that a burst of sign-ins cannot exhaust the relay's memory.
namespace PasswordHash {

constexpr std::size_t minLength = 8;
constexpr std::size_t maxLength = 1024;

// The encoded hash, or an empty string when hashing failed (out of memory).
std::string make(const std::string& password);
// Whether `password` matches `hash`. An empty hash matches nothing but still costs one
// hashing, so that an unknown user takes as long to refuse as a wrong password.
bool verify(const std::string& hash, const std::string& password);

} // namespace PasswordHash
