#pragma once

#include "platform/Screens.h"

// The screens and the pointer as Qt knows them: already logical pixels.
class QtScreens : public Screens {
public:
    QList<ScreenInfo> screens() override;
    std::optional<ScreenInfo> mainScreen() override;
    QPointF cursorPosition() override;

private:
    static ScreenInfo info(const class QScreen& screen);
};
