#include "model/ModelLog.h"

Q_LOGGING_CATEGORY(modelLog, "halvora.model", QtInfoMsg)
