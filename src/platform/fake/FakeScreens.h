#pragma once

#include "platform/Screens.h"

// Screens and a pointer position the test sets; one 1440 × 900 screen with a 25-pixel top
// panel to begin with.
class FakeScreens : public Screens {
public:
    QList<ScreenInfo> list = {{QRectF(0, 0, 1440, 900), QRectF(0, 25, 1440, 875)}};
    QPointF mouse;

    QList<ScreenInfo> screens() override { return list; }
    std::optional<ScreenInfo> mainScreen() override
    {
        return list.isEmpty() ? std::nullopt : std::optional<ScreenInfo>(list.first());
    }
    QPointF cursorPosition() override { return mouse; }
};
