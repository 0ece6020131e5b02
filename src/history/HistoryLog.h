#pragma once

#include <QLoggingCategory>

// The "halvora.history" log category: the history file. Warnings and information show by
// default, debug lines (sizes, counts and ids, never text) with
// QT_LOGGING_RULES="halvora.history.debug=true".
Q_DECLARE_LOGGING_CATEGORY(historyLog)
