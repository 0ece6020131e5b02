#include "platform/fake/FakeSecretStore.h"

#include <QTimer>
#include <algorithm>

SecretStore::Lookup FakeSecretStore::lookup(const QString& service)
{
    if (!m_available || !m_items.contains(service))
        return {};
    if (m_locked)
        return {std::nullopt, true};
    return {m_items.value(service), false};
}

TaskHandle FakeSecretStore::unlockAndLoad(const QString& service, std::function<void(std::optional<QString>)> done)
{
    return prompt(
        [this, service, done = std::move(done)](bool unlocked) { done(unlocked ? item(service) : std::nullopt); });
}

TaskHandle FakeSecretStore::unlockAndSave(const QString& service, const QString& secret, std::function<void(bool)> done)
{
    return prompt([this, service, secret = secret.trimmed(), done = std::move(done)](bool unlocked) {
        if (unlocked)
            m_items.insert(service, secret);
        done(unlocked);
    });
}

bool FakeSecretStore::save(const QString& service, const QString& secret)
{
    const QString trimmed = secret.trimmed();
    if (trimmed.isEmpty())
        return remove(service);
    if (!m_available || m_locked)
        return false;
    m_items.insert(service, trimmed);
    return true;
}

bool FakeSecretStore::remove(const QString& service)
{
    if (!m_available || m_locked)
        return false;
    m_items.remove(service);
    return true;
}

std::optional<QString> FakeSecretStore::item(const QString& service) const
{
    if (!m_items.contains(service))
        return std::nullopt;
    return m_items.value(service);
}

int FakeSecretStore::openPrompts() const
{
    return int(std::count_if(m_prompts.cbegin(), m_prompts.cend(),
                             [](const Prompt& prompt) { return !prompt.token->isCancelled(); }));
}

bool FakeSecretStore::answerPrompt(bool unlock)
{
    while (!m_prompts.isEmpty()) {
        const Prompt prompt = m_prompts.takeFirst();
        if (prompt.token->isCancelled())
            continue;
        if (unlock)
            m_locked = false;
        prompt.token->finish();
        prompt.answer(unlock);
        return true;
    }
    return false;
}

TaskHandle FakeSecretStore::prompt(std::function<void(bool unlocked)> answer)
{
    std::shared_ptr<CancelToken> token;
    TaskHandle handle = TaskHandle::create(&token);
    if (!m_available) {
        // No service: the call fails on the next turn of the loop, as no prompt can be shown.
        QTimer::singleShot(0, [token, answer = std::move(answer)] {
            if (token->isCancelled())
                return;
            token->finish();
            answer(false);
        });
        return handle;
    }
    m_prompts.append({std::move(token), std::move(answer)});
    return handle;
}
