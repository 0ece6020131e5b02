#include "platform/linux/X11KeyMap.h"

#include "platform/KeyCodes.h"

#include <X11/keysym.h>

#include <QHash>

namespace X11KeyMap {

namespace {

const QHash<unsigned long, int>& codes()
{
    static const QHash<unsigned long, int> codes = {
        {XK_a, KeyCode::A},          {XK_A, KeyCode::A},
        {XK_v, KeyCode::V},          {XK_V, KeyCode::V},
        {XK_Escape, KeyCode::Escape},
        {XK_Home, KeyCode::Home},    {XK_KP_Home, KeyCode::Home},
        {XK_End, KeyCode::End},      {XK_KP_End, KeyCode::End},
        {XK_Prior, KeyCode::PageUp}, {XK_KP_Prior, KeyCode::PageUp},
        {XK_Next, KeyCode::PageDown}, {XK_KP_Next, KeyCode::PageDown},
        {XK_Left, KeyCode::LeftArrow}, {XK_KP_Left, KeyCode::LeftArrow},
        {XK_Right, KeyCode::RightArrow}, {XK_KP_Right, KeyCode::RightArrow},
        {XK_Down, KeyCode::DownArrow}, {XK_KP_Down, KeyCode::DownArrow},
        {XK_Up, KeyCode::UpArrow},   {XK_KP_Up, KeyCode::UpArrow},
    };
    return codes;
}

} // namespace

int keyCode(unsigned long keysym)
{
    return codes().value(keysym, otherKeyBase + int(keysym & 0xffffff));
}

// The lower-case letter and the main keys rather than their keypad twins.
unsigned long keysym(int keyCode)
{
    static const QHash<int, unsigned long> symbols = {
        {KeyCode::A, XK_a},          {KeyCode::V, XK_v},          {KeyCode::Escape, XK_Escape},
        {KeyCode::Home, XK_Home},    {KeyCode::End, XK_End},      {KeyCode::PageUp, XK_Prior},
        {KeyCode::PageDown, XK_Next}, {KeyCode::LeftArrow, XK_Left}, {KeyCode::RightArrow, XK_Right},
        {KeyCode::DownArrow, XK_Down}, {KeyCode::UpArrow, XK_Up},
    };
    if (keyCode >= otherKeyBase)
        return static_cast<unsigned long>(keyCode - otherKeyBase);
    return symbols.value(keyCode, 0);
}

quint64 flags(bool shift, bool control)
{
    return (shift ? ModifierFlag::Shift : 0) | (control ? ModifierFlag::Command : 0);
}

bool hasShift(quint64 flags)
{
    return flags & ModifierFlag::Shift;
}

bool hasCommand(quint64 flags)
{
    return flags & ModifierFlag::Command;
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
