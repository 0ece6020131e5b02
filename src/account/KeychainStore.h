#pragma once

#include "common/TaskHandle.h"

#include <QString>
#include <functional>
#include <optional>

// Keeps the account token in the user's Secret Service keyring (generic password items
// identified by the attributes "service" and "account" = "default"). The plain calls answer
// synchronously within a bounded time; when no Secret Service is running, load() finds
// nothing and save() fails, and the token is never written anywhere else. A locked keyring
// (or none yet) needs the user to answer a prompt: the unlock calls wait for that without a
// deadline, on the main thread's loop, and report when the user has answered.
namespace KeychainStore {

// The service name of the account token item.
QString tokenService();
// The service name of an item that earlier versions left behind; never written.
QString legacyApiKeyService();

struct Lookup {
    std::optional<QString> token;
    // The item is there, in a keyring that is locked: unlockAndLoad() can read it.
    bool locked = false;
};

// The stored token when it can be read without unlocking anything.
Lookup lookup();
// The stored token, or none when there is none, it is not UTF-8, it is locked away, or the
// keyring failed.
std::optional<QString> load();
// Whether storing would first have to unlock (or create) the default keyring.
bool needsUnlock();
// Unlocks the keyring (the desktop asks the user) and reads the token; done gets none when
// the user dismissed the prompt or there is no token.
TaskHandle unlockAndLoad(std::function<void(std::optional<QString>)> done);
// Unlocks or creates the default keyring (the desktop asks the user) and stores the token;
// done gets false when the user dismissed the prompt or the keyring failed.
TaskHandle unlockAndSave(const QString& token, std::function<void(bool)> done);

// Stores the token trimmed of surrounding white space, replacing an existing item; an
// empty token deletes the item. Returns true on success (deleting a missing item succeeds).
bool save(const QString& token);

// Deletes the item with the given service name. True when it was deleted or did not exist.
bool remove(const QString& service);

} // namespace KeychainStore
