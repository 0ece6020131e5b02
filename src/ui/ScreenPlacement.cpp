#include "ui/ScreenPlacement.h"

#include "platform/Platform.h"

ScreenPlacement::Displays ScreenPlacement::current()
{
    return {Platform::screens().screens(), Platform::screens().mainScreen()};
}

std::optional<QRectF> ScreenPlacement::availableGeometry(const QPointF& point, const Displays& screens)
{
    for (const ScreenInfo& screen : screens.list) {
        if (screen.geometry.contains(point))
            return screen.availableGeometry;
    }
    if (screens.main)
        return screens.main->availableGeometry;
    if (!screens.list.isEmpty())
        return screens.list.first().availableGeometry;
    return std::nullopt;
}

// When the window is larger than the available area, its left and top edges stay inside:
// the bounds for those edges are applied last.
QPointF ScreenPlacement::clamp(QPointF origin, const QSizeF& size, const QRectF& available, double margin)
{
    origin.setX(qMin(qMax(origin.x(), available.left() + margin), available.right() - size.width() - margin));
    origin.setY(qMax(qMin(origin.y(), available.bottom() - size.height() - margin), available.top() + margin));
    return origin;
}

QPointF ScreenPlacement::pillOrigin(const QSizeF& size, const std::optional<QRectF>& rect, const QPointF& cursor,
                                    const Displays& screens)
{
    const QRectF anchor = rect ? *rect : QRectF(cursor.x() - size.width() * 0.5, cursor.y() - 4 - 12, size.width(), 12);
    QPointF origin(anchor.left(), anchor.top() - 8 - size.height());
    const std::optional<QRectF> available = availableGeometry(anchor.center(), screens);
    if (!available)
        return origin;
    if (origin.y() < available->top())
        origin.setY(anchor.bottom() + 8);
    return clamp(origin, size, *available, 4);
}

QPointF ScreenPlacement::resultOrigin(const QSizeF& size, const std::optional<QRectF>& rect, const QPointF& cursor,
                                      const Displays& screens)
{
    const QRectF anchor = rect ? *rect : QRectF(cursor, QSizeF(0, 0));
    QPointF origin(anchor.left(), anchor.bottom() + 12);
    const std::optional<QRectF> available = availableGeometry(anchor.center(), screens);
    if (!available)
        return origin;
    if (origin.y() + size.height() > available->bottom())
        origin.setY(anchor.top() - 12 - size.height());
    return clamp(origin, size, *available, 8);
}
