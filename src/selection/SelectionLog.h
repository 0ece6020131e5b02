#pragma once

#include <QLoggingCategory>

// The "halvora.selection" log category: reading the selection, Replace and paste. Warnings and
// information show by default, debug lines (sizes, counts and ids, never text) with
// QT_LOGGING_RULES="halvora.selection.debug=true".
Q_DECLARE_LOGGING_CATEGORY(selectionLog)
