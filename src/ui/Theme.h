#pragma once

#include <QColor>
#include <QPalette>

// The program's palette: six warm neutral and accent colours, each with a light and a dark
// variant. Every custom surface asks for a colour together with the appearance it is drawn in,
// so the whole interface follows the light, dark or system appearance setting.
class Theme {
public:
    enum class Role { Background, Surface, Border, Text, SecondaryText, Accent };

    // One palette entry: two 24-bit sRGB values held as 0xRRGGBB.
    struct Adaptive {
        quint32 light;
        quint32 dark;

        // The variant for the appearance, as an opaque sRGB colour.
        QColor resolve(bool dark) const;
    };

    static constexpr Adaptive adaptive(Role role)
    {
        switch (role) {
        case Role::Background:
            return {0xFAF9F5, 0x262624};
        case Role::Surface:
            return {0xF0EEE6, 0x30302E};
        case Role::Border:
            return {0xE3E0D5, 0x45443F};
        case Role::Text:
            return {0x141413, 0xF5F4EF};
        case Role::SecondaryText:
            return {0x6B6A64, 0xA6A49B};
        case Role::Accent:
            return {0xD97757, 0xE08A6D};
        }
        return {0xFAF9F5, 0x262624};
    }

    static QColor color(Role role, bool dark) { return adaptive(role).resolve(dark); }

    static QColor background(bool dark) { return color(Role::Background, dark); }
    static QColor surface(bool dark) { return color(Role::Surface, dark); }
    static QColor border(bool dark) { return color(Role::Border, dark); }
    static QColor text(bool dark) { return color(Role::Text, dark); }
    static QColor secondaryText(bool dark) { return color(Role::SecondaryText, dark); }
    static QColor accent(bool dark) { return color(Role::Accent, dark); }

    // Whether a palette in effect reads as a dark appearance: its window is darker than its text.
    // A palette that is neither (window and text equally light) counts as light.
    static bool isDark(const QPalette& palette);
};
