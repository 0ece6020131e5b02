#include "platform/linux/X11Connection.h"

#include "platform/linux/X11Log.h"

#include <QtGlobal>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace {

constexpr int maxAncestors = 16;

// X errors on a vanished window are expected and harmless; Xlib's default handler would exit.
int ignoreErrors(Display*, XErrorEvent*)
{
    return 0;
}

} // namespace

std::unique_ptr<X11Connection> X11Connection::open()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return nullptr;
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        qCWarning(x11Log) << "Cannot open the X display" << qEnvironmentVariable("DISPLAY");
        return nullptr;
    }
    XSetErrorHandler(&ignoreErrors);
    return std::unique_ptr<X11Connection>(new X11Connection(display));
}

X11Connection::X11Connection(_XDisplay* display) : m_display(display), m_root(DefaultRootWindow(display)) {}

X11Connection::~X11Connection()
{
    XCloseDisplay(m_display);
}

unsigned long X11Connection::atom(const char* name)
{
    return XInternAtom(m_display, name, False);
}

QByteArray X11Connection::rawProperty(unsigned long window, unsigned long property, int* format)
{
    Atom type = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    *format = 0;
    const int status = XGetWindowProperty(m_display, window, property, 0, 1024, False, AnyPropertyType, &type, format,
                                          &count, &remaining, &data);
    if (status != Success || !data)
        return {};
    // Xlib hands 32-bit items back as longs.
    const int itemSize = *format == 32 ? int(sizeof(long)) : *format / 8;
    QByteArray bytes(reinterpret_cast<const char*>(data), int(count) * itemSize);
    XFree(data);
    return bytes;
}

QList<unsigned long> X11Connection::cardinals(unsigned long window, const char* property)
{
    int format = 0;
    const QByteArray bytes = rawProperty(window, atom(property), &format);
    QList<unsigned long> values;
    if (format != 32)
        return values;
    const auto* items = reinterpret_cast<const unsigned long*>(bytes.constData());
    for (qsizetype i = 0; i < bytes.size() / qsizetype(sizeof(long)); ++i)
        values.append(items[i]);
    return values;
}

std::optional<unsigned long> X11Connection::cardinal(unsigned long window, const char* property)
{
    const QList<unsigned long> values = cardinals(window, property);
    if (values.isEmpty())
        return std::nullopt;
    return values.first();
}

QStringList X11Connection::strings(unsigned long window, const char* property)
{
    int format = 0;
    const QByteArray bytes = rawProperty(window, atom(property), &format);
    if (format != 8)
        return {};
    QStringList result;
    for (const QByteArray& part : bytes.split('\0')) {
        if (!part.isEmpty())
            result.append(QString::fromUtf8(part));
    }
    return result;
}

// A window manager marks itself with a child window that points to itself; the root's mark
// alone may be left over from one that has quit.
bool X11Connection::hasWindowManager()
{
    const auto check = cardinal(m_root, "_NET_SUPPORTING_WM_CHECK");
    return check && *check != 0 && cardinal(*check, "_NET_SUPPORTING_WM_CHECK") == check;
}

std::optional<unsigned long> X11Connection::activeWindow()
{
    if (!hasWindowManager())
        return std::nullopt;
    const auto active = cardinal(m_root, "_NET_ACTIVE_WINDOW");
    if (!active || *active == 0)
        return std::nullopt;
    return active;
}

std::optional<unsigned long> X11Connection::activeClient()
{
    if (hasWindowManager())
        return activeWindow();
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(m_display, &focus, &revert);
    if (focus == m_root)
        return std::nullopt;
    return nearestNamedAncestor(focus);
}

std::optional<qint32> X11Connection::windowPid(unsigned long window)
{
    const auto pid = cardinal(window, "_NET_WM_PID");
    if (!pid || *pid == 0)
        return std::nullopt;
    return qint32(*pid);
}

std::optional<unsigned long> X11Connection::nearestNamedAncestor(unsigned long window)
{
    std::optional<unsigned long> current = window;
    // 0 is no window, 1 the PointerRoot an input focus can be set to.
    for (int level = 0; current && *current > PointerRoot && level < maxAncestors; ++level) {
        if (windowPid(*current))
            return current;
        current = parentOf(*current);
    }
    return std::nullopt;
}

// Nothing for the root, a window gone or a top-level window (whose parent is the root).
std::optional<unsigned long> X11Connection::parentOf(unsigned long window)
{
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(m_display, window, &root, &parent, &children, &count))
        return std::nullopt;
    if (children)
        XFree(children);
    if (parent == 0 || parent == root)
        return std::nullopt;
    return parent;
}
