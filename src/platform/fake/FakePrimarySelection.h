#pragma once

#include "platform/PrimarySelection.h"

// A primary selection a test sets: which process claimed it, when (on the fake clock's
// monotonic time) and with what text. Counts how often the text was read. Like every primary
// selection, it gives no text longer than maxLength.
class FakePrimarySelection : public PrimarySelection {
public:
    std::optional<qint32> owner;
    qint64 claimedAtMs = 0;
    // Nothing stands for an owner that does not answer in time.
    std::optional<QString> content;
    int textReads = 0;

    void claim(qint32 pid, qint64 atMs, const QString& text);

    std::optional<qint32> ownerClaimedSince(qint64 sinceMs) override;
    std::optional<QString> text() override;
};
