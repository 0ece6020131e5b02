#pragma once

#include <functional>
#include <memory>

struct _XDisplay;

// The X server's RECORD extension, listening to every client's core input events as the server
// delivers them (synthetic XTest events included). Unlike the input extension's raw events,
// each recorded event keeps the pointer position and modifier state it happened with.
class X11Record {
public:
    struct Event {
        // KeyPress (2), KeyRelease (3), ButtonPress (4) or ButtonRelease (5).
        int type = 0;
        // The key code or button number.
        int detail = 0;
        int rootX = 0;
        int rootY = 0;
        // The modifier and button mask before the event.
        unsigned int state = 0;
        unsigned long time = 0;
    };

    // Null when the server has no RECORD extension or no connection can be made.
    static std::unique_ptr<X11Record> start(std::function<void(const Event&)> handler);
    ~X11Record();
    X11Record(const X11Record&) = delete;
    X11Record& operator=(const X11Record&) = delete;

    // The socket to watch; process() delivers what has arrived on it.
    int socket() const;
    void process();
    // Hands one recorded event to the handler (called from the recording callback). Events
    // that arrive while the recording is being closed reach nobody: the handler's owner is
    // then already partly destroyed.
    void deliver(const Event& event)
    {
        if (m_handler)
            m_handler(event);
    }

private:
    X11Record(_XDisplay* control, _XDisplay* data, unsigned long context, std::function<void(const Event&)> handler);

    _XDisplay* m_control;
    _XDisplay* m_data;
    unsigned long m_context;
    std::function<void(const Event&)> m_handler;
};
