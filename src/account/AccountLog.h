#pragma once

#include <QLoggingCategory>

// The "halvora.account" log category: sign-in, refresh, sign-out and the token in
// the keyring. Warnings and information show by default, debug lines (sizes, counts and ids,
// never text) with QT_LOGGING_RULES="halvora.account.debug=true".
Q_DECLARE_LOGGING_CATEGORY(accountLog)
