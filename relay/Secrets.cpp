#include "Secrets.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

#include <cstdlib>
#include <iostream>
#include <vector>

namespace Secrets {

namespace {

std::string base64Url(const unsigned char* data, std::size_t size)
{
    static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
    std::string out;
    std::size_t i = 0;
    for (; i + 2 < size; i += 3) {
        unsigned v = (data[i] << 16) | (data[i + 1] << 8) | data[i + 2];
        out += {alphabet[v >> 18], alphabet[(v >> 12) & 63], alphabet[(v >> 6) & 63], alphabet[v & 63]};
    }
    if (size - i == 1) {
        unsigned v = data[i] << 16;
        out += {alphabet[v >> 18], alphabet[(v >> 12) & 63]};
    } else if (size - i == 2) {
        unsigned v = (data[i] << 16) | (data[i + 1] << 8);
        out += {alphabet[v >> 18], alphabet[(v >> 12) & 63], alphabet[(v >> 6) & 63]};
    }
    return out;
}

} // namespace

std::string randomToken(std::size_t bytes)
{
    std::vector<unsigned char> buffer(bytes);
    if (RAND_bytes(buffer.data(), static_cast<int>(bytes)) != 1) {
        std::cerr << "halvora-relay: the random number generator failed\n";
        std::abort();
    }
    return base64Url(buffer.data(), bytes);
}

std::string sha256Hex(const std::string& text)
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_Digest(text.data(), text.size(), digest, &length, EVP_sha256(), nullptr);
    static const char hex[] = "0123456789abcdef";
    std::string out;
    for (unsigned int i = 0; i < length; ++i)
        out += {hex[digest[i] >> 4], hex[digest[i] & 15]};
    return out;
}

bool equalConstantTime(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && CRYPTO_memcmp(a.data(), b.data(), a.size()) == 0;
}

} // namespace Secrets
