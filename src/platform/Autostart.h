#pragma once

#include <QString>
#include <memory>

// Whether the program starts when the user logs in to the desktop, as the desktop itself
// records it. The registration is the only record: nothing else keeps this setting.
class Autostart {
public:
    virtual ~Autostart() = default;

    // True exactly when the desktop will start the program at the next login.
    virtual bool isEnabled() const = 0;
    // Registers the program to start at login. On failure returns false and, when error is
    // given, sets it to a short reason.
    virtual bool enable(QString* error = nullptr) = 0;
    // Removes the registration; succeeds when there was none.
    virtual bool disable(QString* error = nullptr) = 0;

    // The process-wide autostart entry. Until one is installed, a stand-in that is never
    // enabled and refuses every change.
    static Autostart& instance();
    static void setInstance(std::unique_ptr<Autostart> item);
};
