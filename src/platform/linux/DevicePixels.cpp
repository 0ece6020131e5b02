#include "platform/linux/DevicePixels.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>
#include <limits>

namespace DevicePixels {

namespace {

struct Mapping {
    QPointF origin;
    double ratio = 1.0;
};

QRectF deviceGeometry(const QScreen& screen)
{
    const QRectF logical = screen.geometry();
    return QRectF(logical.topLeft(), logical.size() * screen.devicePixelRatio());
}

// The distance from a point to a rectangle: zero inside it.
double distance(const QRectF& rect, QPointF point)
{
    const double dx = std::max({rect.left() - point.x(), 0.0, point.x() - rect.right()});
    const double dy = std::max({rect.top() - point.y(), 0.0, point.y() - rect.bottom()});
    return std::hypot(dx, dy);
}

// The screen whose area (in device or in logical pixels) holds the point, else the nearest one.
Mapping mappingAt(QPointF point, bool deviceSide)
{
    Mapping best;
    double bestDistance = std::numeric_limits<double>::max();
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRectF area = deviceSide ? deviceGeometry(*screen) : QRectF(screen->geometry());
        const double d = distance(area, point);
        if (d < bestDistance) {
            bestDistance = d;
            best = {area.topLeft(), screen->devicePixelRatio()};
        }
    }
    return best;
}

} // namespace

QPointF toLogical(QPointF devicePoint)
{
    const Mapping m = mappingAt(devicePoint, true);
    return m.origin + (devicePoint - m.origin) / m.ratio;
}

QRectF toLogical(const QRectF& deviceRect)
{
    const Mapping m = mappingAt(deviceRect.center(), true);
    return QRectF(m.origin + (deviceRect.topLeft() - m.origin) / m.ratio, deviceRect.size() / m.ratio);
}

QPointF toDevice(QPointF logicalPoint)
{
    const Mapping m = mappingAt(logicalPoint, false);
    return m.origin + (logicalPoint - m.origin) * m.ratio;
}

} // namespace DevicePixels
