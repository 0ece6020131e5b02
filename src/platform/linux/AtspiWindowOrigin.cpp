#include "platform/linux/AtspiWindowOrigin.h"

#include "platform/linux/X11Connection.h"

#include <X11/Xlib.h>
#include <algorithm>
#include <memory>

namespace AtspiWindowOrigin {

namespace {

X11Connection* connection()
{
    static const std::unique_ptr<X11Connection> x11 = X11Connection::open();
    return x11.get();
}

} // namespace

QPointF inset(QSizeF deviceSize, QSizeF reportedSize)
{
    return QPointF(std::max(0.0, (deviceSize.width() - reportedSize.width()) / 2),
                   std::max(0.0, (deviceSize.height() - reportedSize.height()) / 2));
}

std::optional<QPointF> of(qint64 pid, QSizeF reportedWindowSize)
{
    X11Connection* x11 = connection();
    if (!x11)
        return std::nullopt;
    const auto window = x11->activeClient();
    if (!window || x11->windowPid(*window) != pid)
        return std::nullopt;
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(x11->display(), *window, &attributes))
        return std::nullopt;
    int x = 0;
    int y = 0;
    Window child = 0;
    if (!XTranslateCoordinates(x11->display(), *window, x11->root(), 0, 0, &x, &y, &child))
        return std::nullopt;
    return QPointF(x, y) + inset(QSizeF(attributes.width, attributes.height), reportedWindowSize);
}

} // namespace AtspiWindowOrigin
