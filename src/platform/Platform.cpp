#include "platform/Platform.h"

#include <QCoreApplication>

namespace {

class NoAccessibility final : public Accessibility {
public:
    AccessibilityElementRef applicationElement(qint32) override { return {}; }
    QSet<qint32> applicationsOnBus() override { return {}; }
};

class NoGrant final : public AccessibilityGrant {
public:
    bool isGranted() override { return false; }
    void requestGrant() override {}
    bool openSettings() override { return false; }
};

class NoGlobalEvents final : public GlobalEvents {
public:
    TaskHandle addMonitor(InputEvent::Type, std::function<void(const InputEvent&)>) override { return {}; }
    TaskHandle observeApplicationActivation(std::function<void()>) override { return {}; }
};

class NoScreens final : public Screens {
public:
    QList<ScreenInfo> screens() override { return {}; }
    std::optional<ScreenInfo> mainScreen() override { return std::nullopt; }
    QPointF cursorPosition() override { return {}; }
};

class NoClipboard final : public Clipboard {
public:
    QList<ClipboardItem> items() override { return {}; }
    bool hasText() override { return false; }
    void clear() override {}
    void setString(const QString&) override {}
    qint64 serial() override { return 0; }
    void writeItems(const QList<ClipboardItem>&) override {}
};

class NoWorkspace final : public Workspace {
public:
    std::optional<RunningApplication> activeApplication() override { return std::nullopt; }
    qint32 ownProcessId() override { return qint32(QCoreApplication::applicationPid()); }
    QList<RunningApplication> runningApplications() override { return {}; }
    bool activateApplication(qint32) override { return false; }
    bool openUrl(const QUrl&) override { return false; }
    void showOnAllWorkspaces(quintptr) override {}
};

class NoKeyboard final : public SyntheticKeyboard {
public:
    void postKeystroke(Qt::Key, Qt::KeyboardModifiers) override {}
};

class NoSecretStore final : public SecretStore {
public:
    Lookup lookup(const QString&) override { return {}; }
    bool needsUnlock() override { return false; }
    TaskHandle unlockAndLoad(const QString&, std::function<void(std::optional<QString>)>) override { return {}; }
    TaskHandle unlockAndSave(const QString&, const QString&, std::function<void(bool)>) override { return {}; }
    bool save(const QString&, const QString&) override { return false; }
    bool remove(const QString&) override { return false; }
};

class NoPrimarySelection final : public PrimarySelection {
public:
    std::optional<qint32> ownerClaimedSince(qint64) override { return std::nullopt; }
    std::optional<QString> text() override { return std::nullopt; }
};

template <typename Service, typename Fallback> void fill(std::shared_ptr<Service>& slot)
{
    if (!slot)
        slot = std::make_shared<Fallback>();
}

Platform::Services withFallbacks(Platform::Services services)
{
    fill<Accessibility, NoAccessibility>(services.accessibility);
    fill<AccessibilityGrant, NoGrant>(services.accessibilityGrant);
    fill<GlobalEvents, NoGlobalEvents>(services.globalEvents);
    fill<Screens, NoScreens>(services.screens);
    fill<Clipboard, NoClipboard>(services.clipboard);
    fill<Workspace, NoWorkspace>(services.workspace);
    fill<SyntheticKeyboard, NoKeyboard>(services.keyboard);
    fill<SecretStore, NoSecretStore>(services.secretStore);
    fill<PrimarySelection, NoPrimarySelection>(services.primarySelection);
    return services;
}

Platform::Services& installed()
{
    static Platform::Services services = withFallbacks({});
    return services;
}

} // namespace

Accessibility& Platform::accessibility()
{
    return *installed().accessibility;
}
AccessibilityGrant& Platform::accessibilityGrant()
{
    return *installed().accessibilityGrant;
}
GlobalEvents& Platform::globalEvents()
{
    return *installed().globalEvents;
}
Screens& Platform::screens()
{
    return *installed().screens;
}
Clipboard& Platform::clipboard()
{
    return *installed().clipboard;
}
Workspace& Platform::workspace()
{
    return *installed().workspace;
}
SyntheticKeyboard& Platform::keyboard()
{
    return *installed().keyboard;
}
SecretStore& Platform::secretStore()
{
    return *installed().secretStore;
}

PrimarySelection& Platform::primarySelection()
{
    return *installed().primarySelection;
}

void Platform::install(Services services)
{
    installed() = withFallbacks(std::move(services));
}
