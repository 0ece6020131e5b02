#pragma once

#include "platform/GlobalEvents.h"

#include <QPointF>
#include <QString>
#include <vector>

class FakeClock;
class FakeScreens;

// An event source a test drives, one event at a time or by a short script of steps separated
// by ";":
//   down X,Y        left button pressed with the pointer at (X, Y), global logical coordinates
//   up X,Y [N]      left button released there, N the click count (1 when left out)
//   keydown KEYS    keyup KEYS     KEYS as Qt writes a shortcut: "Shift+Right", "Ctrl+A", "Esc"
//   scroll          activate (another application came to the front)
//   wait MS         advance the clock
// Moving the pointer updates the fake screens' mouse location.
class FakeGlobalEvents : public GlobalEvents {
public:
    FakeGlobalEvents(FakeScreens& screens, FakeClock& clock) : m_screens(screens), m_clock(clock) {}

    TaskHandle addMonitor(InputEvent::Type type, std::function<void(const InputEvent&)> handler) override;
    TaskHandle observeApplicationActivation(std::function<void()> handler) override;

    // When set, monitors are refused (as without the accessibility grant).
    bool refuseMonitors = false;
    // When set, the pointer has moved on by the time a handler runs, as it often has on a real
    // desktop: only the event's own location tells where it happened.
    bool pointerRunsAhead = false;

    void press(QPointF at);
    void release(QPointF at, int clickCount = 1);
    void key(InputEvent::Type type, QKeyCombination keystroke);
    void scroll();
    void activateApplication();
    // Runs a script; false at the first step it does not understand.
    bool play(const QString& script);

    // Subscriptions still in force.
    int monitorCount() const;
    int observerCount() const;

private:
    struct Subscriber {
        std::weak_ptr<CancelToken> token;
        std::function<void(const InputEvent&)> handler;
    };
    bool step(const QString& step);
    void dispatch(const InputEvent& event);
    static bool live(const Subscriber& subscriber);

    FakeScreens& m_screens;
    FakeClock& m_clock;
    std::vector<Subscriber> m_monitors;
    std::vector<Subscriber> m_observers;
};
