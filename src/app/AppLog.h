#pragma once

#include <QLoggingCategory>

// The "halvora.app" log category: single instance and update checks. Warnings and
// information show by default, debug lines (sizes, counts and ids, never text) with
// QT_LOGGING_RULES="halvora.app.debug=true".
Q_DECLARE_LOGGING_CATEGORY(appLog)
