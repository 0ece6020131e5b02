#pragma once

#include "platform/GlobalEvents.h"
#include "platform/linux/ClickCounter.h"
#include "platform/linux/X11Connection.h"

#include <QObject>
#include <QSet>

#include <memory>
#include <vector>

class QSocketNotifier;

// Desktop-wide input from the X server, read on the Qt event loop over a connection of its own:
// raw input events on the root window (they report every device, synthetic ones included, and
// leave the events themselves alone), and changes of the active window. Raw events carry neither
// pointer position nor modifiers: the click count is computed here from the desktop's double-click
// interval and distance, and Shift and Control are followed through the raw key stream itself, so
// each event sees the modifiers as they were when it happened. Control stands for Command.
// Input aimed at this program's own windows, and activation of its own windows, are not reported.
class X11GlobalEvents : public QObject, public GlobalEvents {
    Q_OBJECT

public:
    // Null when the X server lacks the input extension.
    static std::shared_ptr<X11GlobalEvents> create(std::unique_ptr<X11Connection> connection);
    ~X11GlobalEvents() override;

    TaskHandle addMonitor(InputEvent::Type type, std::function<void(const InputEvent&)> handler) override;
    TaskHandle observeApplicationActivation(std::function<void()> handler) override;

private:
    X11GlobalEvents(std::unique_ptr<X11Connection> connection, int inputOpcode);
    void readEvents();
    void rawEvent(int type, int detail, unsigned long time);
    void button(bool press, int button, unsigned long time);
    void key(bool press, int keycode);
    void activeWindowChanged();
    quint64 modifierFlags() const;
    void deliver(const InputEvent& event);
    static bool pointerOverOwnWindow();

    struct Subscriber {
        std::weak_ptr<CancelToken> token;
        std::optional<InputEvent::Type> type;
        std::function<void(const InputEvent&)> handler;
    };
    TaskHandle subscribe(std::vector<Subscriber>& list, Subscriber subscriber);
    static void notify(std::vector<Subscriber>& list, const InputEvent& event);

    std::unique_ptr<X11Connection> m_x11;
    int m_inputOpcode;
    QSocketNotifier* m_notifier = nullptr;
    ClickCounter m_clicks;
    int m_lastClickCount = 1;
    QSet<int> m_shiftKeys;
    QSet<int> m_controlKeys;
    unsigned long m_activeWindow = 0;
    std::optional<qint32> m_activePid;
    std::vector<Subscriber> m_monitors;
    std::vector<Subscriber> m_observers;
};
