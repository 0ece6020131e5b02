#include "platform/linux/X11ClientProcess.h"

#include <X11/Xlib.h>
#include <X11/extensions/XRes.h>

namespace X11ClientProcess {

std::optional<qint32> of(X11Connection& x11, unsigned long window)
{
    if (const auto pid = fromResources(x11, window))
        return pid;
    return fromWindowManagerHints(x11, window);
}

// Errors (an old server without the request, a window gone meanwhile) end in the connection's
// error handler, which ignores them; the request then fails and nothing is known.
std::optional<qint32> fromResources(X11Connection& x11, unsigned long window)
{
    Display* display = x11.display();
    int firstEvent = 0;
    int firstError = 0;
    if (window == 0 || !XResQueryExtension(display, &firstEvent, &firstError))
        return std::nullopt;
    XResClientIdSpec spec{window, XRES_CLIENT_ID_PID_MASK};
    long count = 0;
    XResClientIdValue* ids = nullptr;
    if (XResQueryClientIds(display, 1, &spec, &count, &ids) != Success)
        return std::nullopt;
    std::optional<qint32> pid;
    for (long i = 0; i < count && !pid; ++i) {
        const pid_t found = XResGetClientPid(&ids[i]);
        if (found > 0)
            pid = qint32(found);
    }
    XResClientIdsDestroy(count, ids);
    return pid;
}

std::optional<qint32> fromWindowManagerHints(X11Connection& x11, unsigned long window)
{
    const auto named = x11.nearestNamedAncestor(window);
    return named ? x11.windowPid(*named) : std::nullopt;
}

} // namespace X11ClientProcess
