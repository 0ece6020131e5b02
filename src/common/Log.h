#pragma once

#include <QLoggingCategory>

// The program's logging category ("halvora"). The program writes few log lines: the
// failure to change launch at login, a single-instance socket another user owns.
Q_DECLARE_LOGGING_CATEGORY(halvoraLog)
