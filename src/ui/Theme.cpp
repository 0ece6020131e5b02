#include "ui/Theme.h"

QColor Theme::Adaptive::resolve(bool dark) const
{
    const quint32 rgb = dark ? this->dark : light;
    return QColor::fromRgb(int((rgb >> 16) & 0xFF), int((rgb >> 8) & 0xFF), int(rgb & 0xFF), 255);
}

bool Theme::isDark(const QPalette& palette)
{
    const int window = palette.color(QPalette::Active, QPalette::Window).lightness();
    const int text = palette.color(QPalette::Active, QPalette::WindowText).lightness();
    return window < text;
}
