#include "ui/Icons.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QSet>

namespace {

// The icon names the desktop's icon theme is asked for first.
const QSet<QString>& themeNames()
{
    static const QSet<QString> names{
        QStringLiteral("tools-check-spelling"),
        QStringLiteral("zoom-out"),
        QStringLiteral("zoom-in"),
        QStringLiteral("face-smile"),
        QStringLiteral("preferences-desktop-locale"),
        QStringLiteral("dialog-information"),
        QStringLiteral("accessories-dictionary"),
        QStringLiteral("applications-internet"),
        QStringLiteral("document-edit"),
        QStringLiteral("edit-copy"),
        QStringLiteral("object-select"),
        QStringLiteral("edit-paste"),
        QStringLiteral("window-new"),
        QStringLiteral("dialog-warning"),
        QStringLiteral("window-close"),
        QStringLiteral("go-down"),
        QStringLiteral("media-playback-stop"),
    };
    return names;
}

} // namespace

QString Icons::themeName(const QString& iconName)
{
    return themeNames().contains(iconName) ? iconName : QString();
}

QString Icons::bundledPath(const QString& iconName)
{
    return QStringLiteral(":/halvora/icons/") + iconName + QStringLiteral(".svg");
}

QIcon Icons::icon(const QString& iconName)
{
    const QString name = themeName(iconName);
    if (!name.isEmpty()) {
        for (const QString& candidate : {name + QStringLiteral("-symbolic"), name}) {
            if (QIcon::hasThemeIcon(candidate))
                return QIcon::fromTheme(candidate);
        }
    }
    if (QFile::exists(bundledPath(iconName)))
        return QIcon(bundledPath(iconName));
    return {};
}

QPixmap Icons::pixmap(const QString& iconName, int size, const QColor& color, qreal devicePixelRatio)
{
    const int pixels = qRound(size * devicePixelRatio);
    QPixmap shape = icon(iconName).pixmap(QSize(pixels, pixels));
    if (shape.isNull())
        return shape;
    shape.setDevicePixelRatio(1.0);
    QPainter painter(&shape);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(shape.rect(), color);
    painter.end();
    shape.setDevicePixelRatio(devicePixelRatio);
    return shape;
}

QIcon Icons::tinted(const QString& iconName, const QColor& color, const QColor& disabledColor, int size)
{
    QIcon result;
    for (const qreal ratio : {1.0, 2.0}) {
        result.addPixmap(pixmap(iconName, size, color, ratio), QIcon::Normal);
        result.addPixmap(pixmap(iconName, size, disabledColor, ratio), QIcon::Disabled);
    }
    return result;
}

QStringList Icons::bundledIconNames()
{
    QStringList iconNames;
    for (const QString& file : QDir(QStringLiteral(":/halvora/icons")).entryList({QStringLiteral("*.svg")}))
        iconNames.append(file.chopped(4));
    return iconNames;
}
