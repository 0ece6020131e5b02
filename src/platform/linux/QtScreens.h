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
    QPointF mouseLocation() override;

    // Global coordinates of a position in root-window pixels.
    static QPointF globalFromRoot(QPoint rootPosition);

private:
    static double primaryTop();
    static ScreenInfo info(const class QScreen& screen);
};
