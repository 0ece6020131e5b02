#include "ui/ThemePalette.h"

#include "ui/Theme.h"

#include <QWidget>

QPalette ThemePalette::palette(bool dark)
{
    const QColor background = Theme::background(dark);
    const QColor surface = Theme::surface(dark);
    const QColor text = Theme::text(dark);
    const QColor secondary = Theme::secondaryText(dark);
    const QColor accent = Theme::accent(dark);

    QPalette palette(text, surface, Theme::border(dark).lighter(110), Theme::border(dark), Theme::border(dark), text,
                     text, background, background);
    palette.setColor(QPalette::AlternateBase, surface);
    palette.setColor(QPalette::Highlight, accent);
    palette.setColor(QPalette::HighlightedText, Theme::background(false));
    palette.setColor(QPalette::Link, accent);
    palette.setColor(QPalette::LinkVisited, accent);
    palette.setColor(QPalette::PlaceholderText, secondary);
    palette.setColor(QPalette::ToolTipBase, surface);
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::BrightText, accent);
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, secondary);
    return palette;
}

bool ThemePalette::isDark(const QWidget& widget)
{
    return Theme::isDark(widget.palette());
}
