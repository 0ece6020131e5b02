#pragma once

#include <Qt>

// Typing on the user's behalf into whatever application has the focus.
class SyntheticKeyboard {
public:
    virtual ~SyntheticKeyboard() = default;

    // Posts a key press and its release with exactly these modifiers held. A keystroke the
    // platform cannot make is silently not sent.
    virtual void postKeystroke(Qt::Key key, Qt::KeyboardModifiers modifiers) = 0;
};
