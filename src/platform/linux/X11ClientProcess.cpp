#include "platform/linux/X11ClientProcess.h"

#include <X11/Xlib.h>
#include <vector>
// The X-Resource request is sent the way Xlib's own extension libraries send theirs. Xlibint.h
// defines min and max as macros: every standard header goes before it.
#include <X11/Xlibint.h>
#include <X11/extensions/XResproto.h>
#undef min
#undef max

namespace {

// A client's ids come back as records of client, mask, length in bytes, and the value.
constexpr unsigned long maxReplyWords = 256;
constexpr int maxAncestors = 16;

std::optional<qint32> pidIn(const std::vector<CARD32>& words, unsigned long count)
{
    size_t at = 0;
    for (unsigned long id = 0; id < count && at + 3 <= words.size(); ++id) {
        const CARD32 mask = words[at + 1];
        const size_t valueWords = words[at + 2] / 4;
        at += 3;
        if (at + valueWords > words.size())
            return std::nullopt;
        if (mask == X_XResLocalClientPIDMask && valueWords == 1 && words[at] > 0)
            return qint32(words[at]);
        at += valueWords;
    }
    return std::nullopt;
}

std::optional<unsigned long> parentOf(Display* display, unsigned long window)
{
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, window, &root, &parent, &children, &count))
        return std::nullopt;
    if (children)
        XFree(children);
    if (parent == 0 || parent == root)
        return std::nullopt;
    return parent;
}

} // namespace

namespace X11ClientProcess {

std::optional<qint32> of(X11Connection& x11, unsigned long window)
{
    if (const auto pid = fromResources(x11, window))
        return pid;
    return fromWindowManagerHints(x11, window);
}

// Errors (an old server without the request, a window gone meanwhile) end in the connection's
// error handler, which ignores them; the reply then fails and nothing is known.
std::optional<qint32> fromResources(X11Connection& x11, unsigned long window)
{
    Display* display = x11.display();
    int opcode = 0;
    int firstEvent = 0;
    int firstError = 0;
    if (window == 0 || !XQueryExtension(display, XRES_NAME, &opcode, &firstEvent, &firstError))
        return std::nullopt;

    LockDisplay(display);
    auto* request =
        static_cast<xXResQueryClientIdsReq*>(_XGetRequest(display, X_XResQueryClientIds, sz_xXResQueryClientIdsReq));
    request->reqType = CARD8(opcode);
    request->XResReqType = X_XResQueryClientIds;
    request->numSpecs = 1;
    request->length += sz_xXResClientIdSpec / 4;
    const long spec[2] = {long(window), X_XResLocalClientPIDMask};
    Data32(display, spec, sizeof(CARD32) * 2);

    xXResQueryClientIdsReply reply{};
    std::vector<CARD32> words;
    if (_XReply(display, reinterpret_cast<xReply*>(&reply), 0, xFalse)) {
        if (reply.length <= maxReplyWords) {
            words.resize(reply.length);
            _XRead(display, reinterpret_cast<char*>(words.data()), long(reply.length) * 4);
        } else {
            _XEatDataWords(display, reply.length);
        }
    }
    UnlockDisplay(display);
    // What Xlib's SyncHandle() does, which expects the display under the name dpy.
    if (display->synchandler)
        display->synchandler(display);
    return pidIn(words, reply.numIds);
}

std::optional<qint32> fromWindowManagerHints(X11Connection& x11, unsigned long window)
{
    std::optional<unsigned long> current = window;
    for (int level = 0; current && level < maxAncestors; ++level) {
        if (const auto pid = x11.windowPid(*current))
            return pid;
        current = parentOf(x11.display(), *current);
    }
    return std::nullopt;
}

} // namespace X11ClientProcess
