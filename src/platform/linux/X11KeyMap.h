#pragma once

#include <Qt>

// Translates X key symbols and modifier state into Qt keys and modifiers, and back for the
// keystrokes this program types. The only place where X key symbols meet the rest of the program.
namespace X11KeyMap {

enum class Modifier { Plain, Shift, Control, Other };

// The Qt key of a key symbol as the first level of the first layout reports it (letters by
// their upper-case key, keypad navigation keys as the main ones); Qt::Key_unknown for a
// symbol without a Qt key here.
Qt::Key key(unsigned long keysym);
// Which modifier a key is, if any. Modifier keys on their own are not key presses to the
// selection logic: pressing Shift or Control neither dismisses nor selects anything.
Modifier modifier(unsigned long keysym);

// The symbol to type for a Qt key (the lower-case letter, the main key rather than its keypad
// twin); 0 for a key with none.
unsigned long keysym(Qt::Key key);
// The Shift and Control modifiers of an X event's state mask.
Qt::KeyboardModifiers modifiers(unsigned int state);

} // namespace X11KeyMap
