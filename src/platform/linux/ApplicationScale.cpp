#include "platform/linux/ApplicationScale.h"

#include "platform/linux/X11Connection.h"

#include <X11/Xlib.h>
#include <cmath>

namespace ApplicationScale {

namespace {

constexpr double maxScale = 4.0;

X11Connection* connection()
{
    static const std::unique_ptr<X11Connection> x11 = X11Connection::open();
    return x11.get();
}

} // namespace

double fromSizes(QSizeF deviceSize, QSizeF reportedSize)
{
    if (deviceSize.width() <= 0 || reportedSize.width() <= 0)
        return 1.0;
    const double quarters = std::round(deviceSize.width() / reportedSize.width() * 4.0) / 4.0;
    return quarters >= 1.0 && quarters <= maxScale ? quarters : 1.0;
}

double of(qint64 pid, QSizeF reportedWindowSize)
{
    X11Connection* x11 = connection();
    if (!x11)
        return 1.0;
    const auto window = x11->activeWindow();
    if (!window || x11->windowPid(*window) != pid)
        return 1.0;
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(x11->display(), *window, &attributes))
        return 1.0;
    return fromSizes(QSizeF(attributes.width, attributes.height), reportedWindowSize);
}

} // namespace ApplicationScale
