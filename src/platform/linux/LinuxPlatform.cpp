#include "platform/linux/LinuxPlatform.h"

#include "platform/Platform.h"
#include "platform/linux/AtspiAccessibility.h"
#include "platform/linux/AtspiLog.h"
#include "platform/linux/JsonFilePreferences.h"
#include "platform/linux/LinuxAccessibilityGrant.h"
#include "platform/linux/QtClipboard.h"
#include "platform/linux/QtScreens.h"
#include "platform/linux/SecretServiceStore.h"
#include "platform/linux/X11Connection.h"
#include "platform/linux/X11GlobalEvents.h"
#include "platform/linux/X11PrimarySelection.h"
#include "platform/linux/X11Workspace.h"
#include "platform/linux/XTestKeyboard.h"
#include "platform/linux/XdgAutostart.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <utility>

namespace LinuxPlatform {

namespace {

QString& reason()
{
    static QString text;
    return text;
}

bool isX11Session()
{
    return QGuiApplication::platformName() == QLatin1String("xcb") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

QString noX11Reason()
{
    if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return QCoreApplication::translate("LinuxPlatform",
                                           "Actions can’t appear automatically in a Wayland session: Wayland keeps "
                                           "other applications’ mouse and keyboard to themselves. Log in to an X11 "
                                           "session to use automatic pop-up.");
    return QCoreApplication::translate("LinuxPlatform", "Actions can’t appear automatically without an X11 display.");
}

void installX11(Platform::Services& services)
{
    services.workspace = std::make_shared<X11Workspace>(X11Connection::open());
    services.keyboard = XTestKeyboard::create(X11Connection::open());
    services.globalEvents = X11GlobalEvents::create(X11Connection::open());
    services.primarySelection = X11PrimarySelection::create(X11Connection::open());
    if (!services.globalEvents)
        reason() = QCoreApplication::translate("LinuxPlatform",
                                               "Actions can’t appear automatically: the X server does not report "
                                               "input to other applications (its RECORD extension is missing).");
}

} // namespace

void install()
{
    Preferences::setInstance(std::make_unique<JsonFilePreferences>(JsonFilePreferences::defaultPath()));
    Autostart::setInstance(
        std::make_unique<XdgAutostart>(XdgAutostart::defaultEntryPath(), QCoreApplication::applicationFilePath()));
    Platform::Services services;
    services.accessibilityGrant = std::make_shared<LinuxAccessibilityGrant>();
    if (AtspiAccessibility::connect())
        services.accessibility = std::make_shared<AtspiAccessibility>();
    else
        qCWarning(atspiLog) << "Cannot reach the accessibility bus; selections cannot be read";
    services.screens = std::make_shared<QtScreens>();
    services.clipboard = std::make_shared<QtClipboard>();
    services.secretStore = std::make_shared<SecretServiceStore>();
    reason().clear();
    if (isX11Session() && X11Connection::open())
        installX11(services);
    else
        reason() = noX11Reason();
    Platform::install(std::move(services));
    // The services hold Qt objects and X connections: they go with the application object rather
    // than after it, among the static destructors.
    static bool releaseRegistered = false;
    if (!std::exchange(releaseRegistered, true))
        qAddPostRoutine([] { Platform::install({}); });
}

QString unavailableReason()
{
    return reason();
}

QString accessibilityHelp()
{
    return QCoreApplication::translate("LinuxPlatform",
                                       "Applications on the accessibility bus give Halvora the selected text, where it "
                                       "lies, and Replace. Others, such as terminals and Chromium or Electron "
                                       "applications as usually started, are read through the primary selection, with "
                                       "the actions at the pointer.");
}

} // namespace LinuxPlatform
