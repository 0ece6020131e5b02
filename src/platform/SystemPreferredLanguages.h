#pragma once

#include "platform/PreferredLanguages.h"

// The preferred languages of the session's locale settings (LANGUAGE, LC_ALL, LC_MESSAGES,
// LANG), as Qt reports them.
class SystemPreferredLanguages : public PreferredLanguages {
public:
    QStringList languages() const override;
};
