#pragma once

#include <QString>

// Speaks a short message through the desktop's assistive technologies (a screen reader).
class Announcer {
public:
    virtual ~Announcer() = default;

    virtual void announce(const QString& text) = 0;
};
