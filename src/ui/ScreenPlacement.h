#pragma once

#include "platform/Screens.h"

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <optional>

// Where the pill and the result panel go beside a selection: on the screen that holds the
// selection, kept inside that screen's available geometry. Everything is in Qt's global
// logical coordinates (y downwards), the coordinates of window geometry.
class ScreenPlacement {
public:
    struct Displays {
        QList<ScreenInfo> list;
        std::optional<ScreenInfo> main;
    };
    // The screens and the main screen as the platform reports them now.
    static Displays current();

    // The available geometry of the first screen whose geometry holds the point, else of the
    // main screen, else of the first screen; nothing when no screen is listed at all.
    static std::optional<QRectF> availableGeometry(const QPointF& point, const Displays& screens);

    // The pill's top-left corner: 8 pixels above the selection (below it when there is no room
    // above), kept 4 pixels inside the available geometry. Without a selection rectangle the
    // anchor is a 12-pixel line 4 pixels above the pointer.
    static QPointF pillOrigin(const QSizeF& size, const std::optional<QRectF>& rect, const QPointF& cursor,
                              const Displays& screens);
    // The result panel's top-left corner: 12 pixels below the selection (above it when it would
    // leave the available geometry), kept 8 pixels inside it. Without a selection rectangle the
    // anchor is the pointer position.
    static QPointF resultOrigin(const QSizeF& size, const std::optional<QRectF>& rect, const QPointF& cursor,
                                const Displays& screens);

private:
    static QPointF clamp(QPointF origin, const QSizeF& size, const QRectF& available, double margin);
};
