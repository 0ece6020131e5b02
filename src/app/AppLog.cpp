#include "app/AppLog.h"

Q_LOGGING_CATEGORY(appLog, "halvora.app", QtInfoMsg)
