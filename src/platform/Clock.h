#pragma once

#include "common/TaskHandle.h"

#include <QDateTime>
#include <QTimeZone>
#include <functional>

// Time as the program sees it: the wall clock, a monotonic clock and delayed work on the
// main thread. Every delay, debounce and poll goes through a Clock so tests can drive time.
class Clock {
public:
    virtual ~Clock() = default;

    // The current wall-clock time (UTC).
    virtual QDateTime now() const = 0;
    // Milliseconds on a monotonic clock with an arbitrary origin.
    virtual qint64 monotonicMs() const = 0;
    // Runs work once after delayMs on the main thread, unless the handle is cancelled or destroyed first.
    [[nodiscard]] virtual TaskHandle after(int delayMs, std::function<void()> work) = 0;

    // The real clock, backed by Qt timers.
    static Clock& system();
};
