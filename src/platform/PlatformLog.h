#pragma once

#include <QLoggingCategory>

// The "halvora.platform" log category: the preferences file, D-Bus, the
// accessibility settings. Warnings and information show by default, debug lines (sizes, counts
// and ids, never text) with QT_LOGGING_RULES="halvora.platform.debug=true".
Q_DECLARE_LOGGING_CATEGORY(platformLog)
