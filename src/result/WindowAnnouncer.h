#pragma once

#include "conversation/Announcer.h"

#include <QList>
#include <functional>

class QWidget;

// Speaks the conversations' messages ("Explain answer ready", an error) on the window in front,
// so that the screen reader reads them where the user is: the program's active window, or else
// the first of the given windows that is on screen (the result panel, the main window, then
// the settings window).
// Without any such window the message is dropped. Main thread only.
class WindowAnnouncer : public Announcer {
public:
    // The candidate windows, in order of preference; asked anew for every message, since the
    // windows are made on first use.
    using Windows = std::function<QList<QWidget*>()>;

    explicit WindowAnnouncer(Windows windows);

    void announce(const QString& text) override;
    // The window a message would be spoken on now; none when no window is on screen.
    QWidget* target() const;

private:
    Windows m_windows;
};
