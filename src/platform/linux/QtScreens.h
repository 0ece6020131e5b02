#pragma once

#include "platform/Screens.h"

#include <QPoint>

// The screens as Qt knows them, turned into global coordinates (origin at the bottom-left of
// the primary screen, y growing upwards). X11 places every screen in one root window with
// the origin at its top-left, which is where accessibility bounds are measured too.
class QtScreens : public Screens {
public:
    QList<ScreenInfo> screens() override;
    std::optional<ScreenInfo> mainScreen() override;
    // The pointer now, or, while an input event is being delivered, where that event happened:
    // handlers run a little after the event, and the pointer may have moved on since.
    QPointF mouseLocation() override;

    // Marks the position (root-window pixels) of the input event being delivered while it exists.
    class EventPosition {
    public:
        explicit EventPosition(QPoint rootPosition);
        ~EventPosition();
        EventPosition(const EventPosition&) = delete;
        EventPosition& operator=(const EventPosition&) = delete;

    private:
        std::optional<QPoint> m_previous;
    };

private:
    static double primaryTop();
    static ScreenInfo info(const class QScreen& screen);
    static std::optional<QPoint>& eventPosition();
};
