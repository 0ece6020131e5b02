#pragma once

#include <QLoggingCategory>

// The "halvora.model" log category: requests to the model. Warnings and information show by
// default, debug lines (sizes, counts and ids, never text) with
// QT_LOGGING_RULES="halvora.model.debug=true".
Q_DECLARE_LOGGING_CATEGORY(modelLog)
