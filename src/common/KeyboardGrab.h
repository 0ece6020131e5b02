#pragma once

// Whether one of this program's windows holds the keyboard grab. Keys typed meanwhile go to that
// window, not to the application that has the focus, so whoever watches the desktop's input
// must not take them for typing in that application. Main thread only.
namespace KeyboardGrab {

bool held();
void setHeld(bool held);

} // namespace KeyboardGrab
