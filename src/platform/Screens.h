#pragma once

#include <QList>
#include <QPointF>
#include <QRectF>

#include <optional>

// One display, in global coordinates: the origin at the bottom-left of the primary screen,
// y growing upwards. The visible frame leaves out panels and docks.
struct ScreenInfo {
    QRectF frame;
    QRectF visibleFrame;
};

// The displays and the pointer.
class Screens {
public:
    virtual ~Screens() = default;

    // Every screen, the primary one first.
    virtual QList<ScreenInfo> screens() = 0;
    // The screen holding the active window, if known.
    virtual std::optional<ScreenInfo> mainScreen() = 0;
    // The pointer position in global coordinates.
    virtual QPointF mouseLocation() = 0;

    // Global coordinates of a rectangle or point given with the origin at the top-left of the
    // primary screen and y growing downwards; primaryTop is the top edge (maximum y) of the
    // primary screen's global frame. Every such conversion in the program goes through here.
    static QRectF globalRect(const QRectF& topLeftRect, double primaryTop);
    static QPointF globalPoint(const QPointF& topLeftPoint, double primaryTop);
};
