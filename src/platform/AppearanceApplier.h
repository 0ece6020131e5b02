#pragma once

#include <memory>

// Switches the colour scheme of every window and panel of the program: to light, to dark,
// or back to following the desktop's own setting.
class AppearanceApplier {
public:
    enum class Scheme { FollowSystem, Light, Dark };

    virtual ~AppearanceApplier() = default;
    virtual void apply(Scheme scheme) = 0;

    // The process-wide applier. Until one is installed (by the user interface), applying
    // does nothing.
    static AppearanceApplier& instance();
    static void setInstance(std::unique_ptr<AppearanceApplier> applier);
};
