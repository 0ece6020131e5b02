#pragma once

#include <QLoggingCategory>

// The program's logging category ("halvora"). The program writes one log line only: the
// failure to change launch at login.
Q_DECLARE_LOGGING_CATEGORY(halvoraLog)
