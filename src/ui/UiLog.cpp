#include "ui/UiLog.h"

Q_LOGGING_CATEGORY(uiLog, "halvora.ui", QtInfoMsg)
