#pragma once

#include "platform/Accessibility.h"
#include "platform/AccessibilityGrant.h"
#include "platform/Clipboard.h"
#include "platform/GlobalEvents.h"
#include "platform/PrimarySelection.h"
#include "platform/Screens.h"
#include "platform/SecretStore.h"
#include "platform/SyntheticKeyboard.h"
#include "platform/Workspace.h"

#include <memory>

// The desktop services the program runs on, installed once at start-up (or by a test).
// A service that is not installed answers as if the desktop offered nothing: no grant, no
// applications, no screens, an empty clipboard, no primary selection.
class Platform {
public:
    struct Services {
        std::shared_ptr<Accessibility> accessibility;
        std::shared_ptr<AccessibilityGrant> accessibilityGrant;
        std::shared_ptr<GlobalEvents> globalEvents;
        std::shared_ptr<Screens> screens;
        std::shared_ptr<Clipboard> clipboard;
        std::shared_ptr<Workspace> workspace;
        std::shared_ptr<SyntheticKeyboard> keyboard;
        std::shared_ptr<SecretStore> secretStore;
        std::shared_ptr<PrimarySelection> primarySelection;
    };

    static Accessibility& accessibility();
    static AccessibilityGrant& accessibilityGrant();
    static GlobalEvents& globalEvents();
    static Screens& screens();
    static Clipboard& clipboard();
    static Workspace& workspace();
    static SyntheticKeyboard& keyboard();
    static SecretStore& secretStore();
    static PrimarySelection& primarySelection();

    // Replaces every service; the ones left empty fall back to the unavailable stand-ins.
    static void install(Services services);
};
