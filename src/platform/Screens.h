#pragma once

#include <QList>
#include <QPointF>
#include <QRectF>
#include <optional>

// One display in Qt's global logical coordinates (origin at the top-left of the desktop,
// y growing downwards), as QScreen reports it. The available geometry leaves out panels
// and docks.
struct ScreenInfo {
    QRectF geometry;
    QRectF availableGeometry;
};

// The displays and the pointer, all in logical pixels. Platforms whose devices speak other
// units convert at their own edge, before anything reaches this interface's callers.
class Screens {
public:
    virtual ~Screens() = default;

    // Every screen, the primary one first.
    virtual QList<ScreenInfo> screens() = 0;
    // The screen holding the active window, if known.
    virtual std::optional<ScreenInfo> mainScreen() = 0;
    // The pointer position.
    virtual QPointF cursorPosition() = 0;
};
