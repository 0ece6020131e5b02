#include "platform/linux/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <algorithm>

QtClipboard::QtClipboard()
{
    connect(QGuiApplication::clipboard(), &QClipboard::changed, this, [this](QClipboard::Mode mode) {
        if (mode == QClipboard::Clipboard)
            ++m_changes;
    });
}

bool QtClipboard::isRestorableFormat(const QString& format)
{
    // X atoms that are not MIME types (TARGETS, UTF8_STRING, GTK_TEXT_BUFFER_CONTENTS…).
    if (!format.contains(QLatin1Char('/')))
        return false;
    static const QStringList privatePrefixes = {
        QStringLiteral("application/x-qt-"),
        QStringLiteral("application/x-gtk-"),
        QStringLiteral("chromium/x-"),
    };
    for (const QString& prefix : privatePrefixes) {
        if (format.startsWith(prefix))
            return false;
    }
    return true;
}

// The clipboard holds one item here; its formats keep the order the owner offered them in.
QList<ClipboardItem> QtClipboard::items()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
    if (!data)
        return {};
    ClipboardItem item;
    for (const QString& format : data->formats()) {
        if (!isRestorableFormat(format))
            continue;
        const QByteArray bytes = data->data(format);
        if (!bytes.isNull())
            item.append({format, bytes});
    }
    if (item.isEmpty())
        return {};
    return {item};
}

bool QtClipboard::hasText()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
    if (!data)
        return false;
    const QStringList formats = data->formats();
    return std::any_of(formats.begin(), formats.end(),
                       [](const QString& format) { return format.startsWith(QLatin1String("text/plain")); });
}

void QtClipboard::clear()
{
    QGuiApplication::clipboard()->clear(QClipboard::Clipboard);
}

void QtClipboard::setString(const QString& text)
{
    QGuiApplication::clipboard()->setText(text, QClipboard::Clipboard);
}

// X11 has a single clipboard item: every item's formats go into it, the first item's winning
// where two offer the same format.
void QtClipboard::writeItems(const QList<ClipboardItem>& items)
{
    auto* data = new QMimeData;
    for (const ClipboardItem& item : items) {
        for (const auto& [format, bytes] : item) {
            if (!data->hasFormat(format))
                data->setData(format, bytes);
        }
    }
    QGuiApplication::clipboard()->setMimeData(data, QClipboard::Clipboard);
}
