#include "pill/ScreenPlacement.h"

#include "platform/Platform.h"

#include <QGuiApplication>
#include <QScreen>

ScreenPlacement::Displays ScreenPlacement::current()
{
    return {Platform::screens().screens(), Platform::screens().mainScreen()};
}

std::optional<QRectF> ScreenPlacement::visibleFrame(const QPointF& point, const Displays& screens)
{
    for (const ScreenInfo& screen : screens.list) {
        if (screen.frame.contains(point))
            return screen.visibleFrame;
    }
    if (screens.main)
        return screens.main->visibleFrame;
    if (!screens.list.isEmpty())
        return screens.list.first().visibleFrame;
    return std::nullopt;
}

// The lower bound is applied first, so a panel larger than the frame keeps to the upper bound.
QPointF ScreenPlacement::clamp(QPointF origin, const QSizeF& size, const QRectF& visible, double margin)
{
    const double maxX = visible.x() + visible.width();
    const double maxY = visible.y() + visible.height();
    origin.setX(qMin(qMax(origin.x(), visible.x() + margin), maxX - size.width() - margin));
    origin.setY(qMin(qMax(origin.y(), visible.y() + margin), maxY - size.height() - margin));
    return origin;
}

QPointF ScreenPlacement::pillOrigin(const QSizeF& size, const std::optional<QRectF>& rect, const QPointF& mouse,
                                    const Displays& screens)
{
    const QRectF anchor = rect ? *rect : QRectF(mouse.x() - size.width() * 0.5, mouse.y() + 4, size.width(), 12);
    QPointF origin(anchor.x(), anchor.y() + anchor.height() + 8);
    const std::optional<QRectF> visible = visibleFrame(anchor.center(), screens);
    if (!visible)
        return origin;
    if (origin.y() + size.height() > visible->y() + visible->height())
        origin.setY(anchor.y() - size.height() - 8);
    return clamp(origin, size, *visible, 4);
}

QPointF ScreenPlacement::resultOrigin(const QSizeF& size, const std::optional<QRectF>& rect, const QPointF& mouse,
                                      const Displays& screens)
{
    const QRectF anchor = rect ? *rect : QRectF(mouse, QSizeF(0, 0));
    QPointF origin(anchor.x(), anchor.y() - size.height() - 12);
    const std::optional<QRectF> visible = visibleFrame(anchor.center(), screens);
    if (!visible)
        return origin;
    if (origin.y() < visible->y())
        origin.setY(anchor.y() + anchor.height() + 12);
    return clamp(origin, size, *visible, 8);
}

double ScreenPlacement::primaryTop()
{
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (!primary)
        return 0;
    return primary->geometry().y() + primary->geometry().height();
}

// The flip between the two systems is its own inverse, so both directions use the same rule.
QRect ScreenPlacement::toQt(const QRectF& globalFrame)
{
    return Screens::globalRect(globalFrame, primaryTop()).toRect();
}

QRectF ScreenPlacement::fromQt(const QRect& geometry)
{
    return Screens::globalRect(QRectF(geometry), primaryTop());
}
