#include "platform/linux/XTestKeyboard.h"

#include "platform/linux/X11KeyMap.h"
#include "platform/linux/X11Log.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

std::shared_ptr<XTestKeyboard> XTestKeyboard::create(std::unique_ptr<X11Connection> connection)
{
    if (!connection)
        return nullptr;
    int eventBase = 0;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    if (!XTestQueryExtension(connection->display(), &eventBase, &errorBase, &major, &minor)) {
        qCWarning(x11Log) << "The X server has no XTEST extension; Replace and keystrokes are unavailable";
        return nullptr;
    }
    return std::shared_ptr<XTestKeyboard>(new XTestKeyboard(std::move(connection)));
}

void XTestKeyboard::postKeystroke(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    const unsigned long symbol = X11KeyMap::keysym(key);
    if (!symbol || !XKeysymToKeycode(m_x11->display(), symbol))
        return;
    const bool shift = modifiers.testFlag(Qt::ShiftModifier);
    const bool control = modifiers.testFlag(Qt::ControlModifier);
    releaseHeldModifiers(shift, control);
    if (control)
        send(XK_Control_L, true);
    if (shift)
        send(XK_Shift_L, true);
    send(symbol, true);
    send(symbol, false);
    if (shift)
        send(XK_Shift_L, false);
    if (control)
        send(XK_Control_L, false);
    XFlush(m_x11->display());
}

// Keys the user still holds (Shift while a selection was made with the keyboard, say) would be
// added to the keystroke by the receiving application.
void XTestKeyboard::releaseHeldModifiers(bool keepShift, bool keepControl)
{
    char keys[32] = {};
    XQueryKeymap(m_x11->display(), keys);
    for (int code = 8; code < 256; ++code) {
        if (!(keys[code / 8] & (1 << (code % 8))))
            continue;
        const unsigned long symbol = XkbKeycodeToKeysym(m_x11->display(), static_cast<unsigned char>(code), 0, 0);
        const X11KeyMap::Modifier modifier = X11KeyMap::modifier(symbol);
        const bool keep = (modifier == X11KeyMap::Modifier::Shift && keepShift) ||
                          (modifier == X11KeyMap::Modifier::Control && keepControl);
        if (modifier != X11KeyMap::Modifier::Plain && !keep)
            XTestFakeKeyEvent(m_x11->display(), unsigned(code), False, CurrentTime);
    }
}

void XTestKeyboard::send(unsigned long keysym, bool press)
{
    const unsigned int code = XKeysymToKeycode(m_x11->display(), keysym);
    if (code)
        XTestFakeKeyEvent(m_x11->display(), code, press ? True : False, CurrentTime);
}
