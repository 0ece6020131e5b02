#pragma once

#include <QColor>
#include <QIcon>
#include <QString>
#include <QStringList>

// The program's icons by name (the names actions and views use, such as "edit-copy"). Names
// of the freedesktop naming scheme are looked up in the desktop's icon theme first, preferring
// the symbolic variant; every name also has a bundled SVG, used when the desktop's icon theme
// lacks the icon, so every icon renders without any icon theme. Icons are drawn as monochrome
// shapes in the colour asked for, like text, so they follow the light and dark appearance.
class Icons {
public:
    // The name to ask the icon theme for, or an empty string when the theme is not asked.
    static QString themeName(const QString& iconName);
    // The icon as found: the theme's, else the bundled one; null for unknown names.
    static QIcon icon(const QString& iconName);
    // The icon at a logical size, drawn in one colour.
    static QPixmap pixmap(const QString& iconName, int size, const QColor& color, qreal devicePixelRatio = 1.0);
    // An icon whose normal and disabled forms are drawn in these colours.
    static QIcon tinted(const QString& iconName, const QColor& color, const QColor& disabledColor, int size = 16);
    // Every icon name with a bundled drawing.
    static QStringList bundledIconNames();
    static QString bundledPath(const QString& iconName);
};
