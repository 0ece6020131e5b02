#pragma once

#include <QLoggingCategory>

// The "halvora.ui" log category: links, the color scheme, announcements.
// Warnings and information show by default, debug lines (sizes, counts and ids, never text)
// with QT_LOGGING_RULES="halvora.ui.debug=true".
Q_DECLARE_LOGGING_CATEGORY(uiLog)
