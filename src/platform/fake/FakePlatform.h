#pragma once

#include "platform/fake/FakeAccessibility.h"
#include "platform/fake/FakeAccessibilityGrant.h"
#include "platform/fake/FakeClipboard.h"
#include "platform/fake/FakeClock.h"
#include "platform/fake/FakeGlobalEvents.h"
#include "platform/fake/FakeKeyboard.h"
#include "platform/fake/FakePrimarySelection.h"
#include "platform/fake/FakeScreens.h"
#include "platform/fake/FakeSecretStore.h"
#include "platform/fake/FakeWorkspace.h"

#include <QStringList>
#include <memory>

// Installs a full set of fake platform services for as long as it exists, with one clock and
// one journal in which the fakes note, in order, what the program did to the desktop
// ("activate 501", "keystroke Ctrl+V", "clipboard set …", "ax set field text").
class FakePlatform {
public:
    FakePlatform();
    ~FakePlatform();
    FakePlatform(const FakePlatform&) = delete;
    FakePlatform& operator=(const FakePlatform&) = delete;

    // Loads an accessibility fixture from tests/fixtures/; false when it is missing or malformed.
    bool loadFixture(const QString& relativePath);

    FakeClock clock;
    QStringList journal;
    std::shared_ptr<FakeAccessibility> accessibility = std::make_shared<FakeAccessibility>();
    std::shared_ptr<FakeAccessibilityGrant> grant = std::make_shared<FakeAccessibilityGrant>();
    std::shared_ptr<FakeScreens> screens = std::make_shared<FakeScreens>();
    std::shared_ptr<FakeGlobalEvents> events = std::make_shared<FakeGlobalEvents>(*screens, clock);
    std::shared_ptr<FakeClipboard> clipboard = std::make_shared<FakeClipboard>();
    std::shared_ptr<FakeWorkspace> workspace = std::make_shared<FakeWorkspace>();
    std::shared_ptr<FakeKeyboard> keyboard = std::make_shared<FakeKeyboard>();
    std::shared_ptr<FakeSecretStore> secrets = std::make_shared<FakeSecretStore>();
    std::shared_ptr<FakePrimarySelection> primary = std::make_shared<FakePrimarySelection>();
};
