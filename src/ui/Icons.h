#pragma once

#include <QColor>
#include <QIcon>
#include <QString>
#include <QStringList>

// The program's icons by symbol name (the names actions and views use, such as "doc.on.doc").
// Each symbol maps to an icon of the freedesktop naming scheme where one fits, preferring its
// symbolic variant; every symbol also has a bundled SVG, used when the desktop's icon theme
// lacks the icon, so every icon renders without any icon theme. Icons are drawn as monochrome
// shapes in the colour asked for, like text, so they follow the light and dark appearance.
class Icons {
public:
    // The freedesktop icon name for a symbol, or an empty string when none fits.
    static QString themeName(const QString& symbol);
    // The symbol's icon as found: the theme's, else the bundled one; null for unknown symbols.
    static QIcon icon(const QString& symbol);
    // The icon at a logical size, drawn in one colour.
    static QPixmap pixmap(const QString& symbol, int size, const QColor& color, qreal devicePixelRatio = 1.0);
    // An icon whose normal and disabled forms are drawn in these colours.
    static QIcon tinted(const QString& symbol, const QColor& color, const QColor& disabledColor, int size = 16);
    // Every symbol with a bundled drawing.
    static QStringList bundledSymbols();
    static QString bundledPath(const QString& symbol);
};
