#pragma once

#include "platform/GlobalEvents.h"
#include "platform/linux/ClickCounter.h"
#include "platform/linux/X11Connection.h"
#include "platform/linux/X11Record.h"

#include <QHash>
#include <QObject>
#include <memory>
#include <vector>

class QSocketNotifier;

// Desktop-wide input from the X server, read on the Qt event loop over connections of its own:
// every client's key and button events through the RECORD extension (they carry the pointer
// position and modifiers they happened with, and are only watched, never taken), and changes of
// the active window. The click count is computed here from the desktop's double-click interval
// and distance; positions arrive in device pixels and leave as logical ones. A key's release
// reports the modifiers held at its press, since people (and xdotool) often let go of Control
// before the letter. Input aimed at this program's own windows, and activation of its own
// windows, are not reported.
class X11GlobalEvents : public QObject, public GlobalEvents {
    Q_OBJECT

public:
    // Null when the X server cannot report other clients' input.
    static std::shared_ptr<X11GlobalEvents> create(std::unique_ptr<X11Connection> connection);
    ~X11GlobalEvents() override;

    TaskHandle addMonitor(InputEvent::Type type, std::function<void(const InputEvent&)> handler) override;
    TaskHandle observeApplicationActivation(std::function<void()> handler) override;

private:
    explicit X11GlobalEvents(std::unique_ptr<X11Connection> connection);
    bool startRecording();
    void readWindowEvents();
    void recorded(const X11Record::Event& event);
    void button(const X11Record::Event& event);
    void key(const X11Record::Event& event);
    void activeWindowChanged();
    void deliver(InputEvent event, QPointF position);

    struct Subscriber {
        std::weak_ptr<CancelToken> token;
        std::optional<InputEvent::Type> type;
        std::function<void(const InputEvent&)> handler;
    };
    TaskHandle subscribe(std::vector<Subscriber>& list, Subscriber subscriber);
    static void notify(std::vector<Subscriber>& list, const InputEvent& event);

    std::unique_ptr<X11Connection> m_x11;
    std::unique_ptr<X11Record> m_record;
    ClickCounter m_clicks;
    int m_lastClickCount = 1;
    // The modifiers held when each key still down was pressed.
    QHash<int, Qt::KeyboardModifiers> m_pressModifiers;
    unsigned long m_activeWindow = 0;
    std::optional<qint32> m_activePid;
    std::vector<Subscriber> m_monitors;
    std::vector<Subscriber> m_observers;
};
