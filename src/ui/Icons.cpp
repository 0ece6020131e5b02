#include "ui/Icons.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QPainter>

namespace {

const QHash<QString, QString>& themeNames()
{
    static const QHash<QString, QString> names{
        {QStringLiteral("checkmark.circle"), QStringLiteral("tools-check-spelling")},
        {QStringLiteral("arrow.down.right.and.arrow.up.left"), QStringLiteral("zoom-out")},
        {QStringLiteral("arrow.up.left.and.arrow.down.right"), QStringLiteral("zoom-in")},
        {QStringLiteral("face.smiling"), QStringLiteral("face-smile")},
        {QStringLiteral("character.bubble"), QStringLiteral("preferences-desktop-locale")},
        {QStringLiteral("lightbulb"), QStringLiteral("dialog-information")},
        {QStringLiteral("books.vertical"), QStringLiteral("accessories-dictionary")},
        {QStringLiteral("globe"), QStringLiteral("applications-internet")},
        {QStringLiteral("pencil.and.outline"), QStringLiteral("document-edit")},
        {QStringLiteral("doc.on.doc"), QStringLiteral("edit-copy")},
        {QStringLiteral("checkmark"), QStringLiteral("object-select")},
        {QStringLiteral("doc.on.clipboard"), QStringLiteral("edit-paste")},
        {QStringLiteral("arrow.up.forward.app"), QStringLiteral("window-new")},
        {QStringLiteral("exclamationmark.triangle.fill"), QStringLiteral("dialog-warning")},
        {QStringLiteral("xmark"), QStringLiteral("window-close")},
        {QStringLiteral("chevron.down"), QStringLiteral("go-down")},
        {QStringLiteral("stop.fill"), QStringLiteral("media-playback-stop")},
    };
    return names;
}

} // namespace

QString Icons::themeName(const QString& symbol)
{
    return themeNames().value(symbol);
}

QString Icons::bundledPath(const QString& symbol)
{
    return QStringLiteral(":/halvora/icons/") + symbol + QStringLiteral(".svg");
}

QIcon Icons::icon(const QString& symbol)
{
    const QString name = themeName(symbol);
    if (!name.isEmpty()) {
        for (const QString& candidate : {name + QStringLiteral("-symbolic"), name}) {
            if (QIcon::hasThemeIcon(candidate))
                return QIcon::fromTheme(candidate);
        }
    }
    if (QFile::exists(bundledPath(symbol)))
        return QIcon(bundledPath(symbol));
    return {};
}

QPixmap Icons::pixmap(const QString& symbol, int size, const QColor& color, qreal devicePixelRatio)
{
    const int pixels = qRound(size * devicePixelRatio);
    QPixmap shape = icon(symbol).pixmap(QSize(pixels, pixels));
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

QIcon Icons::tinted(const QString& symbol, const QColor& color, const QColor& disabledColor, int size)
{
    QIcon result;
    for (const qreal ratio : {1.0, 2.0}) {
        result.addPixmap(pixmap(symbol, size, color, ratio), QIcon::Normal);
        result.addPixmap(pixmap(symbol, size, disabledColor, ratio), QIcon::Disabled);
    }
    return result;
}

QStringList Icons::bundledSymbols()
{
    QStringList symbols;
    for (const QString& file : QDir(QStringLiteral(":/halvora/icons")).entryList({QStringLiteral("*.svg")}))
        symbols.append(file.chopped(4));
    return symbols;
}
