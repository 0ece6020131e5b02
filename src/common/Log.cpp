#include "common/Log.h"

Q_LOGGING_CATEGORY(halvoraLog, "halvora")
