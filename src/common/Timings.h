#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

class QWindow;

// Opt-in timings for measuring the program on a real desktop. With the environment variable
// HALVORA_TIMINGS=1 each milestone prints one line to standard error, for example
// "timing: tray icon shown 37 ms after process start"; otherwise nothing is measured or
// printed. The lines name milestones only, never user data.
namespace Timings {

enum class Since { ProcessStart, GestureEnd };

bool enabled();
// Milliseconds on the clock the kernel dates process starts with (time since boot).
qint64 nowMs();
// The start time of this process on that clock; nothing when /proc cannot tell.
std::optional<qint64> processStartMs();
// The start time field of a /proc/PID/stat line, in clock ticks; nothing for a malformed line.
std::optional<qint64> startTicksFromStat(const QByteArray& stat);

// Notes the end of the selecting gesture the selection monitor acts on now.
void markGestureEnd();
// Prints "timing: <what> N ms after <since>" when the window is next exposed on screen. For
// gestureEnd, only when a gesture was marked since the last report; the mark is used up.
void reportWhenExposed(QWindow* window, const QString& what, Since since);
// Prints the milestone now.
void report(const QString& what, Since since);

} // namespace Timings
