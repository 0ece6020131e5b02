#pragma once

#include "platform/SecretStore.h"

#include <QHash>
#include <QList>
#include <memory>

// A keyring in memory that a test scripts: whether a Secret Service answers at all, whether
// the keyring is locked, and what it holds. A locked keyring reports its items without their
// secrets and neither stores nor deletes; an unlock call waits for answerPrompt(), as the real
// one waits for the user, and a cancelled one is never answered.
class FakeSecretStore final : public SecretStore {
public:
    Lookup lookup(const QString& service) override;
    bool needsUnlock() override { return m_available && m_locked; }
    TaskHandle unlockAndLoad(const QString& service, std::function<void(std::optional<QString>)> done) override;
    TaskHandle unlockAndSave(const QString& service, const QString& secret, std::function<void(bool)> done) override;
    bool save(const QString& service, const QString& secret) override;
    bool remove(const QString& service) override;

    // Without a service every call finds nothing and fails, and no prompt ever appears.
    void setAvailable(bool available) { m_available = available; }
    void setLocked(bool locked) { m_locked = locked; }
    bool isLocked() const { return m_locked; }
    // What the keyring holds, locked or not.
    std::optional<QString> item(const QString& service) const;
    void setItem(const QString& service, const QString& secret) { m_items.insert(service, secret); }

    // The unlock prompts open now (those of cancelled calls are gone).
    int openPrompts() const;
    // Answers the oldest open prompt as the user would: unlocking runs its call, dismissing
    // fails it. False when no prompt is open.
    bool answerPrompt(bool unlock);

private:
    struct Prompt {
        std::shared_ptr<CancelToken> token;
        std::function<void(bool unlocked)> answer;
    };
    TaskHandle prompt(std::function<void(bool unlocked)> answer);

    bool m_available = true;
    bool m_locked = false;
    QHash<QString, QString> m_items;
    QList<Prompt> m_prompts;
};
