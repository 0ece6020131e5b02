#pragma once

#include "platform/SecretStore.h"

// The keyring through the freedesktop Secret Service (GNOME Keyring, KWallet), with libsecret:
// generic password items identified by the attributes "service" and "account" = "default".
// The plain calls run on a private GLib context with a deadline, so nothing else is
// dispatched while they wait; the unlock calls run on the main thread's loop.
class SecretServiceStore final : public SecretStore {
public:
    Lookup lookup(const QString& service) override;
    bool needsUnlock() override;
    TaskHandle unlockAndLoad(const QString& service, std::function<void(std::optional<QString>)> done) override;
    TaskHandle unlockAndSave(const QString& service, const QString& secret, std::function<void(bool)> done) override;
    bool save(const QString& service, const QString& secret) override;
    bool remove(const QString& service) override;
};
