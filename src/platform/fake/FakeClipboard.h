#pragma once

#include "platform/Clipboard.h"

#include <QStringList>

// An in-memory clipboard whose change count grows with every change.
class FakeClipboard : public Clipboard {
public:
    QList<ClipboardItem> content;
    qint64 changes = 0;
    QStringList* journal = nullptr;

    // Another program (or the user) copies text.
    void copyFromElsewhere(const QString& text);
    // The plain text of the first item that has one; null when none does.
    QString string() const;

    QList<ClipboardItem> items() override { return content; }
    bool hasText() override;
    void clear() override;
    void setString(const QString& text) override;
    qint64 serial() override { return changes; }
    void writeItems(const QList<ClipboardItem>& items) override;

    static const QString plainText;
};
