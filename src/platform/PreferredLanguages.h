#pragma once

#include <QStringList>
#include <memory>

// The user's preferred languages, most preferred first, as BCP 47 identifiers ("de-CH",
// "en-US"). The list may be empty. Read afresh on every call; nothing is cached here.
// Main thread only.
class PreferredLanguages {
public:
    virtual ~PreferredLanguages() = default;

    virtual QStringList languages() const = 0;

    // The process-wide source. Until one is installed, the system's locale settings are used.
    static PreferredLanguages& current();
    // Installs the process-wide source (in a test); nullptr goes back to the system's.
    static void setCurrent(std::unique_ptr<PreferredLanguages> source);
};
