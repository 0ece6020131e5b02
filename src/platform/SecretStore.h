#pragma once

#include "common/TaskHandle.h"

#include <QString>
#include <functional>
#include <optional>

// The user's keyring: secrets kept by the desktop, one item per service name (with the
// account "default"), never written to a file. The plain calls answer within a bounded time;
// when there is no keyring, lookups find nothing and saving fails. A locked keyring (or none
// yet) needs the user to answer a prompt: the unlock calls wait for that without a deadline,
// on the main thread's loop, and report once the user has answered. Cancelling their handle
// cancels the call, and its callback is then never run.
class SecretStore {
public:
    struct Lookup {
        std::optional<QString> secret;
        // The item is there, in a keyring that is locked: unlockAndLoad() can read it.
        bool locked = false;
    };

    virtual ~SecretStore() = default;

    // The stored secret when it can be read without unlocking anything; none when there is
    // none, it is not UTF-8, it is locked away, or the keyring failed.
    virtual Lookup lookup(const QString& service) = 0;
    // Whether storing would first have to unlock (or create) the default keyring.
    virtual bool needsUnlock() = 0;
    // Unlocks the keyring (the desktop asks the user) and reads the secret; done gets none
    // when the user dismissed the prompt or there is no such item.
    virtual TaskHandle unlockAndLoad(const QString& service, std::function<void(std::optional<QString>)> done) = 0;
    // Unlocks or creates the default keyring (the desktop asks the user) and stores the secret
    // trimmed of surrounding white space; done gets false when the user dismissed the prompt
    // or the keyring failed.
    virtual TaskHandle unlockAndSave(const QString& service, const QString& secret, std::function<void(bool)> done) = 0;
    // Stores the secret trimmed of surrounding white space, replacing an existing item; an
    // empty one deletes the item. True on success (deleting a missing item succeeds).
    virtual bool save(const QString& service, const QString& secret) = 0;
    // Deletes the item. True when it was deleted or did not exist.
    virtual bool remove(const QString& service) = 0;
};
