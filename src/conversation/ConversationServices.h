#pragma once

#include "conversation/TurnRunner.h"
#include "platform/Clock.h"
#include "selection/Selection.h"

#include <QString>
#include <functional>

class Announcer;
class HistoryStore;
class MainNavigation;
class MainWindowOpener;
class TokenSource;

// What the result and chat view models work with besides the desktop services of Platform:
// the model client, the account, the history, the main window and the screen reader. The
// owner keeps every object alive for as long as the view models that use them.
struct ConversationServices {
    const ClaudeClient* client = nullptr;
    // Starts a turn; the client's streamTurn unless a benchmark feeds the events itself.
    TurnRunner::StreamTurn streamTurn;
    TokenSource* account = nullptr;
    HistoryStore* history = nullptr;
    MainNavigation* navigation = nullptr;
    MainWindowOpener* mainWindow = nullptr;
    Announcer* announcer = nullptr;
    Clock* clock = &Clock::system();
    // Writes text over a selection; TextReplacer::replace unless a test substitutes it.
    std::function<void(const Selection& selection, const QString& text)> replaceText;

    // A copy with the defaults filled in where nothing else was given.
    ConversationServices completed() const;
    // Speaks the text through the announcer, when there is one.
    void announce(const QString& text) const;
};
