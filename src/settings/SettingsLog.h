#pragma once

#include <QLoggingCategory>

// The "halvora.settings" log category: settings such as launch at login. Warnings and
// information show by default, debug lines (sizes, counts and ids, never text) with
// QT_LOGGING_RULES="halvora.settings.debug=true".
Q_DECLARE_LOGGING_CATEGORY(settingsLog)
