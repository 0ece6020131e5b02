#include "platform/linux/AtspiLog.h"

Q_LOGGING_CATEGORY(atspiLog, "halvora.platform.atspi", QtInfoMsg)
