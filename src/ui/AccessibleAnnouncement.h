#pragma once

#include <QString>

class QWidget;

// Speaks a short message through the screen reader without moving the focus. Qt 6.4 has no
// announcement event, so the message becomes the accessible description of the widget it
// concerns and an alert is raised on it: on AT-SPI that is an "object:property-change:
// accessible-description" followed by the alert, which screen readers read out for the
// window in front.
class AccessibleAnnouncement {
public:
    static void announce(QWidget* source, const QString& message);
};
