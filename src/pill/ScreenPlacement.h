#pragma once

#include "platform/Screens.h"

#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QSizeF>
#include <optional>

// Where the pill and the result panel go beside a selection. The rules work in global
// coordinates (origin at the bottom-left of the primary screen, y upwards) on the screens the
// platform lists; toQt and fromQt are the one place where window geometry crosses over to Qt's
// coordinates (origin top-left, y downwards).
class ScreenPlacement {
public:
    struct Displays {
        QList<ScreenInfo> list;
        std::optional<ScreenInfo> main;
    };
    // The screens and the main screen as the platform reports them now.
    static Displays current();

    // The visible frame of the first screen whose frame holds the point, else of the main
    // screen, else of the first screen; nothing when no screen is listed at all.
    static std::optional<QRectF> visibleFrame(const QPointF& point, const Displays& screens);

    // The pill's bottom-left corner: 8 points above the selection (below it when there is no
    // room above), kept 4 points inside the visible frame. Without a selection rectangle the
    // anchor is a 12-point line 4 points above the mouse.
    static QPointF pillOrigin(const QSizeF& size, const std::optional<QRectF>& rect, const QPointF& mouse,
                              const Displays& screens);
    // The result panel's bottom-left corner: 12 points below the selection (above it when it
    // would leave the visible frame), kept 8 points inside it. Without a selection rectangle the
    // anchor is the mouse position.
    static QPointF resultOrigin(const QSizeF& size, const std::optional<QRectF>& rect, const QPointF& mouse,
                                const Displays& screens);

    // A global frame as Qt window geometry, and back.
    static QRect toQt(const QRectF& globalFrame);
    static QRectF fromQt(const QRect& geometry);

private:
    static QPointF clamp(QPointF origin, const QSizeF& size, const QRectF& visible, double margin);
    static double primaryTop();
};
