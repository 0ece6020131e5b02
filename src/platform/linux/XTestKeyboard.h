#pragma once

#include "platform/SyntheticKeyboard.h"
#include "platform/linux/X11Connection.h"

#include <memory>

// Keystrokes made with the X server's test extension, as if typed on the keyboard. Control
// plays the part of Command. Modifier keys the keystroke does not ask for are released first:
// toolkits read Control+Shift+V as a different shortcut from Control+V.
class XTestKeyboard : public SyntheticKeyboard {
public:
    // Null when the X server lacks the test extension.
    static std::shared_ptr<XTestKeyboard> create(std::unique_ptr<X11Connection> connection);

    void postKeystroke(Qt::Key key, Qt::KeyboardModifiers modifiers) override;

private:
    explicit XTestKeyboard(std::unique_ptr<X11Connection> connection) : m_x11(std::move(connection)) {}
    void releaseHeldModifiers(bool keepShift, bool keepControl);
    void send(unsigned long keysym, bool press);

    std::unique_ptr<X11Connection> m_x11;
};
