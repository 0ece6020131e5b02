#include "common/TaskHandle.h"

void CancelToken::onCancel(std::function<void()> cleanup)
{
    if (m_cancelled) {
        cleanup();
        return;
    }
    if (!m_finished)
        m_cleanups.push_back(std::move(cleanup));
}

void CancelToken::cancel()
{
    if (m_cancelled || m_finished)
        return;
    m_cancelled = true;
    auto cleanups = std::move(m_cleanups);
    m_cleanups.clear();
    for (auto& cleanup : cleanups)
        cleanup();
}

void CancelToken::finish()
{
    if (m_cancelled)
        return;
    m_finished = true;
    m_cleanups.clear();
}

TaskHandle& TaskHandle::operator=(TaskHandle&& other) noexcept
{
    if (this != &other) {
        cancel();
        m_token = std::move(other.m_token);
    }
    return *this;
}

TaskHandle TaskHandle::create(std::shared_ptr<CancelToken>* tokenOut)
{
    auto token = std::make_shared<CancelToken>();
    *tokenOut = token;
    return TaskHandle(std::move(token));
}

void TaskHandle::cancel()
{
    if (m_token) {
        auto token = std::move(m_token);
        token->cancel();
    }
}
