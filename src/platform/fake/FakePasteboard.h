#pragma once

#include "platform/Pasteboard.h"

#include <QStringList>

// An in-memory clipboard whose change count grows with every change.
class FakePasteboard : public Pasteboard {
public:
    QList<PasteboardItem> content;
    qint64 changes = 0;
    QStringList* journal = nullptr;

    // Another program (or the user) copies text.
    void copyFromElsewhere(const QString& text);
    // The plain text of the first item that has one; null when none does.
    QString string() const;

    QList<PasteboardItem> items() override { return content; }
    bool hasText() override;
    void clear() override;
    void setString(const QString& text) override;
    qint64 changeCount() override { return changes; }
    void writeItems(const QList<PasteboardItem>& items) override;

    static const QString plainText;
};
