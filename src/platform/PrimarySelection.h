#pragma once

#include <QString>
#include <optional>

// The X11 primary selection: the text last selected in whichever application claimed it, read
// as a middle-click paste would read it, never through the clipboard. It stands in for
// applications that do not give their selected text through accessibility.
class PrimarySelection {
public:
    // Longer texts are not read at all: a cut-off selection would be a wrong one.
    static constexpr qsizetype maxLength = 100000;

    virtual ~PrimarySelection() = default;

    // The process of the selection's owner when the selection was claimed at or after sinceMs
    // (monotonic milliseconds, as Clock::monotonicMs counts them); nothing when it was claimed
    // earlier, nobody holds it, or its process cannot be told.
    virtual std::optional<qint32> ownerClaimedSince(qint64 sinceMs) = 0;
    // The selected text; nothing when the owner does not answer in time, offers no text, or
    // offers more than maxLength characters.
    virtual std::optional<QString> text() = 0;
};
