#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <memory>
#include <optional>

struct _XDisplay;

// A connection of this program's own to the X server, with the few window-property reads the
// platform services need. Kept apart from Qt's connection so its requests and events never
// mix with the toolkit's.
class X11Connection {
public:
    // Null when there is no X server to talk to.
    static std::unique_ptr<X11Connection> open();
    ~X11Connection();
    X11Connection(const X11Connection&) = delete;
    X11Connection& operator=(const X11Connection&) = delete;

    _XDisplay* display() const { return m_display; }
    unsigned long root() const { return m_root; }
    unsigned long atom(const char* name);

    // The 32-bit values of a window's property (CARDINAL, WINDOW and similar); empty when unset.
    QList<unsigned long> cardinals(unsigned long window, const char* property);
    std::optional<unsigned long> cardinal(unsigned long window, const char* property);
    // The strings of a STRING or UTF8_STRING property (WM_CLASS holds two).
    QStringList strings(unsigned long window, const char* property);

    // The window the window manager calls active; nothing for none (0x0), or when no window
    // manager runs (a stale supporting-window mark left by one that has gone).
    std::optional<unsigned long> activeWindow();
    // The client window the user works in: the active window, or, when no window manager runs,
    // the nearest ancestor of the input focus that names its process.
    std::optional<unsigned long> activeClient();
    bool hasWindowManager();
    // The process owning a client window, from _NET_WM_PID.
    std::optional<qint32> windowPid(unsigned long window);
    // The window itself when it names its process (_NET_WM_PID), else its nearest ancestor below
    // the root that does: toolkits often set the mark on a frame around the window that holds
    // the focus or owns a selection. Nothing when none of the first few levels has it.
    std::optional<unsigned long> nearestNamedAncestor(unsigned long window);

private:
    explicit X11Connection(_XDisplay* display);
    std::optional<unsigned long> parentOf(unsigned long window);
    QByteArray rawProperty(unsigned long window, unsigned long property, int* format);

    _XDisplay* m_display;
    unsigned long m_root;
};
