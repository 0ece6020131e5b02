#pragma once

#include <QUuid>

// The one thing a result needs of the main window: open it on a conversation already recorded
// in the history, so that it can be continued as a chat.
class MainWindowOpener {
public:
    virtual ~MainWindowOpener() = default;

    virtual void show(const QUuid& conversation, bool newChat) = 0;
};
