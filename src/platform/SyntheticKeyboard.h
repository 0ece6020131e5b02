#pragma once

#include <QtGlobal>

// Typing on the user's behalf into whatever application has the focus.
class SyntheticKeyboard {
public:
    virtual ~SyntheticKeyboard() = default;

    // Posts a key press and its release with exactly these modifiers held (codes and bits of
    // KeyCodes.h). A keystroke the platform cannot make is silently not sent.
    virtual void postKeystroke(int keyCode, quint64 modifierFlags) = 0;
};
