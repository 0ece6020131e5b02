#include "selection/SelectionLog.h"

Q_LOGGING_CATEGORY(selectionLog, "halvora.selection", QtInfoMsg)
