#pragma once

#include <functional>
#include <memory>
#include <vector>

// The shared state of one asynchronous job. The job checks isCancelled() before every
// callback it would run; whoever owns the job cancels it through a TaskHandle.
// Main thread only.
class CancelToken {
public:
    bool isCancelled() const { return m_cancelled; }
    bool isFinished() const { return m_finished; }

    // Runs the cleanup now if the job is already cancelled, otherwise on cancellation.
    void onCancel(std::function<void()> cleanup);
    void cancel();
    // Marks the job as done: a later cancel() does nothing.
    void finish();

private:
    bool m_cancelled = false;
    bool m_finished = false;
    std::vector<std::function<void()>> m_cleanups;
};

// The one cancellable handle of an asynchronous job. Move-only; cancels its job when it is
// reset, reassigned or destroyed, so a job never outlives the object that holds its handle.
class TaskHandle {
public:
    TaskHandle() = default;
    explicit TaskHandle(std::shared_ptr<CancelToken> token) : m_token(std::move(token)) {}
    ~TaskHandle() { cancel(); }

    TaskHandle(TaskHandle&& other) noexcept = default;
    TaskHandle& operator=(TaskHandle&& other) noexcept;
    TaskHandle(const TaskHandle&) = delete;
    TaskHandle& operator=(const TaskHandle&) = delete;

    // Makes a handle with a fresh token; the job keeps the token.
    static TaskHandle create(std::shared_ptr<CancelToken>* tokenOut);

    void cancel();
    // Forgets the job without cancelling it.
    void release() { m_token.reset(); }
    bool isActive() const { return m_token && !m_token->isCancelled() && !m_token->isFinished(); }

private:
    std::shared_ptr<CancelToken> m_token;
};
