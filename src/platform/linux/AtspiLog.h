#pragma once

#include <QLoggingCategory>

// The "halvora.platform.atspi" log category: accessibility (AT-SPI) calls. Warnings and
// information show by default, debug lines (sizes, counts and ids, never text) with
// QT_LOGGING_RULES="halvora.platform.atspi.debug=true".
Q_DECLARE_LOGGING_CATEGORY(atspiLog)
