#include "PasswordHash.h"

#include <mutex>
#include <semaphore>
#include <sodium.h>
#include <stdexcept>

namespace PasswordHash {

namespace {

std::counting_semaphore<2>& hashingSlots()
{
    static std::counting_semaphore<2> slots(2);
    return slots;
}

struct Slot {
    Slot() { hashingSlots().acquire(); }
    ~Slot() { hashingSlots().release(); }
};

void initialize()
{
    static std::once_flag once;
    std::call_once(once, [] {
        if (sodium_init() < 0)
            throw std::runtime_error("libsodium cannot start");
    });
}

std::string hashLocked(const std::string& password)
{
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(out, password.data(), password.size(), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                          crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
        return {};
    return out;
}

} // namespace

std::string make(const std::string& password)
{
    initialize();
    Slot slot;
    return hashLocked(password);
}

bool verify(const std::string& hash, const std::string& password)
{
    initialize();
    Slot slot;
    if (hash.empty() || hash.size() >= crypto_pwhash_STRBYTES) {
        hashLocked(password);
        return false;
    }
    return crypto_pwhash_str_verify(hash.c_str(), password.data(), password.size()) == 0;
}

} // namespace PasswordHash
