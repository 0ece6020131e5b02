#pragma once

#include <QPalette>

class QWidget;

// The application palette for the light or the dark appearance, built from the theme colours, so
// that standard widgets and our own painted surfaces agree. Custom painting asks the widget's
// palette which appearance is in effect at paint time (Theme::isDark), never a stored flag.
class ThemePalette {
public:
    static QPalette palette(bool dark);
    // The appearance in effect for a widget, read from its palette.
    static bool isDark(const QWidget& widget);
};
