#include "platform/linux/X11Log.h"

Q_LOGGING_CATEGORY(x11Log, "halvora.platform.x11", QtInfoMsg)
