#pragma once

#include "common/TaskHandle.h"

#include <QPointF>
#include <QtGlobal>

#include <functional>

// One input event seen anywhere on the desktop outside this program's own windows.
struct InputEvent {
    // The kinds a monitor can watch, by their mask values.
    enum class Type : quint64 {
        LeftMouseDown = 0x2,
        LeftMouseUp = 0x4,
        KeyDown = 0x400,
        KeyUp = 0x800,
        ScrollWheel = 0x400000,
    };

    Type type = Type::LeftMouseDown;
    int clickCount = 0;
    // A code of KeyCodes.h, for key events.
    int keyCode = 0;
    // Bits of ModifierFlag (KeyCodes.h) held during the event.
    quint64 modifierFlags = 0;
    // Where the pointer was when the event happened, in global coordinates (see Screens.h).
    // Handlers run a little later, when the pointer may have moved on.
    QPointF location;
};

// The desktop-wide input stream. Handlers run on the main thread; they only watch, they
// cannot alter or swallow an event. A subscription ends when its handle is cancelled or dropped.
class GlobalEvents {
public:
    virtual ~GlobalEvents() = default;

    // Watches one kind of event. Returns an empty handle when the platform refuses (for
    // example without the accessibility grant).
    [[nodiscard]] virtual TaskHandle addMonitor(InputEvent::Type type,
                                                std::function<void(const InputEvent&)> handler) = 0;
    // Tells when another application becomes the active one.
    [[nodiscard]] virtual TaskHandle observeApplicationActivation(std::function<void()> handler) = 0;
};
