#pragma once

#include "common/TaskHandle.h"

#include <QPointF>
#include <Qt>
#include <functional>

// One input event seen anywhere on the desktop outside this program's own windows.
struct InputEvent {
    // The kinds a monitor can watch.
    enum class Type { LeftMouseDown, LeftMouseUp, KeyDown, KeyUp, ScrollWheel };

    Type type = Type::LeftMouseDown;
    int clickCount = 0;
    // The key, for key events; Qt::Key_unknown for a key Qt has no name for.
    Qt::Key key = Qt::Key_unknown;
    // The modifiers held during the event.
    Qt::KeyboardModifiers modifiers;
    // Where the pointer was when the event happened, in global logical coordinates (see
    // Screens.h). Handlers run a little later, when the pointer may have moved on.
    QPointF position;
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
