#pragma once

#include <QString>
#include <optional>

// Keeps the account token in the user's Secret Service keyring (generic password items
// identified by the attributes "service" and "account" = "default"). Every call answers
// synchronously within a bounded time; when no Secret Service is running, load() finds
// nothing and save() fails, and the token is never written anywhere else.
namespace KeychainStore {

// The service name of the account token item.
QString tokenService();
// The service name of an item that earlier versions left behind; never written.
QString legacyApiKeyService();

// The stored token, or none when there is none, it is not UTF-8, or the keyring failed.
std::optional<QString> load();

// Stores the token trimmed of surrounding white space, replacing an existing item; an
// empty token deletes the item. Returns true on success (deleting a missing item succeeds).
bool save(const QString& token);

// Deletes the item with the given service name. True when it was deleted or did not exist.
bool remove(const QString& service);

} // namespace KeychainStore
