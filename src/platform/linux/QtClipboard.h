#pragma once

#include "platform/Clipboard.h"

#include <QObject>

// The desktop's clipboard through Qt. Only real MIME types are kept in a snapshot: the X
// selection protocol's own targets (TARGETS, MULTIPLE, TIMESTAMP, SAVE_TARGETS) and toolkit
// conversions that only make sense inside the program that offered them would come back as
// duplicates, or as garbage, when written again. The change count follows Qt's change
// notice, which reports other programs' changes as well as this program's.
class QtClipboard : public QObject, public Clipboard {
    Q_OBJECT

public:
    QtClipboard();

    QList<ClipboardItem> items() override;
    bool hasText() override;
    void clear() override;
    void setString(const QString& text) override;
    qint64 serial() override { return m_changes; }
    void writeItems(const QList<ClipboardItem>& items) override;

    // Whether a clipboard format is worth keeping and writing back.
    static bool isRestorableFormat(const QString& format);

private:
    qint64 m_changes = 0;
};
