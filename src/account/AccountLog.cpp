#include "account/AccountLog.h"

Q_LOGGING_CATEGORY(accountLog, "halvora.account", QtInfoMsg)
