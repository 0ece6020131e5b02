#include "app/WindowScreenshots.h"

#include "chat/ChatView.h"
#include "chat/ChatViewModel.h"
#include "history/MainNavigation.h"
#include "mainwindow/MainWindowController.h"
#include "platform/MemoryPreferences.h"
#include "platform/fake/FakeAppearanceApplier.h"
#include "platform/fake/FakeAutostart.h"
#include "platform/fake/FakePlatform.h"
#include "selection/AccessibilityPermission.h"
#include "settings/AppSettings.h"
#include "settings/SettingsWindowController.h"
#include "settings/WritingModeStore.h"
#include "settings/WritingModesSection.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>

namespace {

using Kind = HistoryStore::Kind;

HistoryStore::Conversation sample(Kind kind, const QString& title, int hoursAgo, const QDateTime& now)
{
    HistoryStore::Conversation c;
    c.kind = kind;
    c.title = title;
    c.createdAt = c.updatedAt = now.addSecs(-hoursAgo * 3600);
    c.turns.append(HistoryStore::Turn{QUuid::createUuid(), std::nullopt, QStringLiteral("Answer"), {}, false});
    return c;
}

HistoryStore::Conversation researchChat(const QDateTime& now)
{
    HistoryStore::Conversation c = sample(Kind::Chat, QStringLiteral("Which heat pump suits an old house?"), 0, now);
    c.turns = {HistoryStore::Turn{
        QUuid::createUuid(),
        QStringLiteral("Which heat pump suits an old house?"),
        QStringLiteral("For an older, less insulated house an **air-to-water** heat pump is usually the best fit:\n\n"
                       "- It works with existing radiators if flow temperatures stay around 55 °C.\n"
                       "- Insulating the loft first lowers the size of pump you need.\n\n"
                       "A ground-source pump is more efficient but costs twice as much to install."),
        {{QStringLiteral("Heat pumps in older homes"),
          QUrl(QStringLiteral("https://energysavingtrust.org.uk/heat-pumps"))},
         {QStringLiteral("Sizing a heat pump"), QUrl(QStringLiteral("https://www.example.org/guides/sizing"))}},
        true}};
    return c;
}

void fill(HistoryStore& store, const QDateTime& now)
{
    HistoryStore::Conversation rewrite = sample(Kind::Rewrite, QStringLiteral("thanks for the quick reply"), 30, now);
    rewrite.style = QStringLiteral("More professional");
    rewrite.appName = QStringLiteral("Thunderbird");
    rewrite.selection = QStringLiteral("thanks for the quick reply, ill send the numbers tmrw");
    rewrite.turns.first().answer = QStringLiteral("Thank you for your quick reply. I will send the figures tomorrow.");
    HistoryStore::Conversation search =
        sample(Kind::Search, QStringLiteral("opening hours of the city library"), 50, now);
    search.appName = QStringLiteral("Firefox");
    store.upsert(sample(Kind::Translate, QStringLiteral("Guten Morgen, wie geht es Ihnen?"), 24 * 9, now));
    store.upsert(sample(Kind::Explain, QStringLiteral("amortised constant time"), 24 * 3, now));
    store.upsert(search);
    store.upsert(rewrite);
    store.upsert(sample(Kind::Ask, QStringLiteral("What does this clause mean?"), 3, now));
    store.upsert(researchChat(now));
}

void grab(QWidget* widget, const QDir& folder, const QString& name)
{
    QApplication::processEvents();
    widget->grab().save(folder.filePath(name + QStringLiteral(".png")));
}

void saveMainWindow(const QDir& folder, const QString& suffix, FakePlatform& platform)
{
    QTemporaryDir dir;
    HistoryStore store(dir.filePath(QStringLiteral("History.json")), platform.clock);
    fill(store, platform.clock.now());
    MainNavigation nav;
    MemoryPreferences defaults;
    auto chat = [&store](const std::optional<HistoryStore::Conversation>& conversation, const QUuid& id,
                         QWidget* parent) -> QWidget* {
        ConversationServices services;
        services.history = &store;
        return ChatView::open(conversation, id, services.completed(), true, parent);
    };
    MainWindowController controller({nav, store, platform.clock, defaults, chat, {}});
    controller.show(store.conversations().first().id, false);
    controller.window()->resize(1000, 680);
    grab(controller.window(), folder, QStringLiteral("main-chat") + suffix);
    controller.show(store.conversations().at(2).id, false);
    grab(controller.window(), folder, QStringLiteral("main-rewrite") + suffix);
}

void saveSettings(const QDir& folder, const QString& suffix, FakePlatform& platform)
{
    QTemporaryDir dir;
    HistoryStore store(dir.filePath(QStringLiteral("History.json")), platform.clock);
    fill(store, platform.clock.now());
    MemoryPreferences defaults;
    FakeAutostart login;
    FakeAppearanceApplier applier;
    AppSettings settings(defaults, login, applier);
    AccessibilityPermission permission(platform.clock);
    WritingModeStore modes(defaults);
    modes.save(WritingModeStore::templates().at(2));
    SettingsWindowController controller({settings,
                                         permission,
                                         store,
                                         modes,
                                         {},
                                         {},
                                         QStringLiteral("GTK applications show their text to Halvora."),
                                         {}});
    controller.show();
    grab(controller.window(), folder, QStringLiteral("settings") + suffix);
    WritingModesSection* section = controller.view()->writingModesSection();
    section->edit(WritingModeStore::templates().at(1));
    grab(section->editor(), folder, QStringLiteral("editor") + suffix);
    section->editor()->close();
}

} // namespace

void WindowScreenshots::save(const QDir& folder, const QString& suffix)
{
    FakePlatform platform;
    platform.grant->granted = false;
    saveMainWindow(folder, suffix, platform);
    saveSettings(folder, suffix, platform);
}
