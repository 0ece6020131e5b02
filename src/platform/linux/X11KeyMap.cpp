#include "platform/linux/X11KeyMap.h"

#include <QChar>
#include <QList>
#include <QPair>
#include <X11/X.h>
#include <X11/keysym.h>

namespace X11KeyMap {

namespace {

// Keys outside Latin-1, with the main key first where a keypad twin exists.
const QList<QPair<unsigned long, Qt::Key>>& specialKeys()
{
    static const QList<QPair<unsigned long, Qt::Key>> keys = {
        {XK_Escape, Qt::Key_Escape},
        {XK_Tab, Qt::Key_Tab},
        {XK_BackSpace, Qt::Key_Backspace},
        {XK_Return, Qt::Key_Return},
        {XK_KP_Enter, Qt::Key_Enter},
        {XK_Delete, Qt::Key_Delete},
        {XK_KP_Delete, Qt::Key_Delete},
        {XK_Insert, Qt::Key_Insert},
        {XK_KP_Insert, Qt::Key_Insert},
        {XK_Home, Qt::Key_Home},
        {XK_KP_Home, Qt::Key_Home},
        {XK_End, Qt::Key_End},
        {XK_KP_End, Qt::Key_End},
        {XK_Prior, Qt::Key_PageUp},
        {XK_KP_Prior, Qt::Key_PageUp},
        {XK_Next, Qt::Key_PageDown},
        {XK_KP_Next, Qt::Key_PageDown},
        {XK_Left, Qt::Key_Left},
        {XK_KP_Left, Qt::Key_Left},
        {XK_Right, Qt::Key_Right},
        {XK_KP_Right, Qt::Key_Right},
        {XK_Up, Qt::Key_Up},
        {XK_KP_Up, Qt::Key_Up},
        {XK_Down, Qt::Key_Down},
        {XK_KP_Down, Qt::Key_Down},
    };
    return keys;
}

} // namespace

Qt::Key key(unsigned long keysym)
{
    // Latin-1 symbols are their characters; Qt names those keys by the upper-case character.
    if ((keysym >= 0x20 && keysym <= 0x7e) || (keysym >= 0xa0 && keysym <= 0xff)) {
        const char16_t upper = QChar(char16_t(keysym)).toUpper().unicode();
        return Qt::Key(upper <= 0xff ? upper : keysym);
    }
    if (keysym >= XK_F1 && keysym <= XK_F35)
        return Qt::Key(Qt::Key_F1 + int(keysym - XK_F1));
    for (const auto& [symbol, qtKey] : specialKeys()) {
        if (symbol == keysym)
            return qtKey;
    }
    return Qt::Key_unknown;
}

unsigned long keysym(Qt::Key key)
{
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return XK_a + (key - Qt::Key_A);
    if (key >= Qt::Key_Space && key <= Qt::Key_AsciiTilde)
        return key;
    if (key >= Qt::Key_F1 && key <= Qt::Key_F35)
        return XK_F1 + (key - Qt::Key_F1);
    for (const auto& [symbol, qtKey] : specialKeys()) {
        if (qtKey == key)
            return symbol;
    }
    return 0;
}

Qt::KeyboardModifiers modifiers(unsigned int state)
{
    Qt::KeyboardModifiers result;
    result.setFlag(Qt::ShiftModifier, state & ShiftMask);
    result.setFlag(Qt::ControlModifier, state & ControlMask);
    return result;
}

Modifier modifier(unsigned long keysym)
{
    switch (keysym) {
    case XK_Shift_L:
    case XK_Shift_R:
        return Modifier::Shift;
    case XK_Control_L:
    case XK_Control_R:
        return Modifier::Control;
    case XK_Caps_Lock:
    case XK_Shift_Lock:
    case XK_Num_Lock:
    case XK_Mode_switch:
        return Modifier::Other;
    default:
        break;
    }
    // Meta, Alt, Super, Hyper, and the ISO level and group shifts.
    const bool classic = keysym >= XK_Meta_L && keysym <= XK_Hyper_R;
    const bool iso = keysym >= XK_ISO_Lock && keysym <= XK_ISO_Level5_Lock;
    return classic || iso ? Modifier::Other : Modifier::Plain;
}

} // namespace X11KeyMap
