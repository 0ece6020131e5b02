#pragma once

#include <QtGlobal>

// Translates X key symbols into the key codes and modifiers of KeyCodes.h.
namespace X11KeyMap {

// Codes given to keys the selection logic has no name for: far above every code it compares.
constexpr int otherKeyBase = 0x100000;

enum class Modifier { Plain, Shift, Control, Other };

// The code of the key that carries this symbol on the first level of the first layout.
int keyCode(unsigned long keysym);
// Which modifier a key is, if any. Modifier keys on their own are not key presses to the
// selection logic: pressing Shift or Control neither dismisses nor selects anything.
Modifier modifier(unsigned long keysym);

// The symbol of the first-level key with this code; 0 for a code with none.
unsigned long keysym(int keyCode);
// The modifier bits for Shift and Control held (Control stands for Command).
quint64 flags(bool shift, bool control);
bool hasShift(quint64 flags);
bool hasCommand(quint64 flags);

} // namespace X11KeyMap
