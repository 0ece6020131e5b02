#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

// One item of the clipboard: its representations as (type, data) pairs, in the order offered.
using ClipboardItem = QList<QPair<QString, QByteArray>>;

// The system clipboard.
class Clipboard {
public:
    virtual ~Clipboard() = default;

    // The current items; representations whose data cannot be read are left out.
    virtual QList<ClipboardItem> items() = 0;
    // Whether the clipboard offers plain text, judged from the formats it offers: no data is
    // fetched, so a large image or a slow owner cannot hold the caller up.
    virtual bool hasText() = 0;
    virtual void clear() = 0;
    // Makes text in plain form the clipboard's only content.
    virtual void setString(const QString& text) = 0;
    // Grows with every change of the clipboard, by this program or any other.
    virtual qint64 serial() = 0;
    // Puts these items on the clipboard, in this order.
    virtual void writeItems(const QList<ClipboardItem>& items) = 0;
};
