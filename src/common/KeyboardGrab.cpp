#include "common/KeyboardGrab.h"

namespace KeyboardGrab {

namespace {

bool grabHeld = false;

} // namespace

bool held()
{
    return grabHeld;
}

void setHeld(bool held)
{
    grabHeld = held;
}

} // namespace KeyboardGrab
