#pragma once

#include <QString>

class QWidget;

// Speaks a short message through the screen reader without moving the focus.
//
// Qt 6.4 has no announcement event, and the AT-SPI events it sends for a changed name or
// description carry the object rather than the new text, so a screen reader has nothing to
// say. What screen readers (Orca) do speak is an "object:property-change:accessible-description"
// event whose value is the text, for the object that has the focus. So the message is sent as
// such an event for the focused widget of the source's window (the window itself when nothing
// in it has the focus), on Qt's own connection to the accessibility bus, without changing
// that widget's name or description (which the screen reader reads again on the next visit).
class AccessibleAnnouncement {
public:
    static void announce(QWidget* source, const QString& message);
    // The last message announced from the window, or from a widget in it.
    static QString lastMessage(const QWidget* window);
};
