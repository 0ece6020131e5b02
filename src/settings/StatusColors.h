#pragma once

#include <QColor>

// The two signal colours of the settings and editor views: green for a state that is fine,
// orange for a warning. Both read well on the light and the dark backgrounds.
namespace StatusColors {
inline QColor green()
{
    return QColor(0x34, 0xC7, 0x59);
}
inline QColor orange()
{
    return QColor(0xFF, 0x95, 0x00);
}
} // namespace StatusColors
