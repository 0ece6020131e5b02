#pragma once

#include <QList>
#include <QString>

// How Halvora reaches the selections of one application open on the desktop: through
// accessibility (the text, where it lies, and writing back), or only through the primary
// selection (the text alone, with the actions at the pointer).
struct ApplicationReach {
    QString name;
    bool throughAccessibility = false;

    // The applications with a window now, in the desktop's order; nameless ones are left out.
    static QList<ApplicationReach> now();
    friend bool operator==(const ApplicationReach&, const ApplicationReach&) = default;
};
