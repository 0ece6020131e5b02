#pragma once

#include <QLoggingCategory>

// The "halvora.platform.x11" log category: the X display and its RECORD and XTEST extensions.
// Warnings and information show by default, debug lines (sizes, counts and ids, never text)
// with QT_LOGGING_RULES="halvora.platform.x11.debug=true".
Q_DECLARE_LOGGING_CATEGORY(x11Log)
