#include "settings/SettingsLog.h"

Q_LOGGING_CATEGORY(settingsLog, "halvora.settings", QtInfoMsg)
