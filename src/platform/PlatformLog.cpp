#include "platform/PlatformLog.h"

Q_LOGGING_CATEGORY(platformLog, "halvora.platform", QtInfoMsg)
