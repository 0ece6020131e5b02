#include "history/HistoryLog.h"

Q_LOGGING_CATEGORY(historyLog, "halvora.history", QtInfoMsg)
