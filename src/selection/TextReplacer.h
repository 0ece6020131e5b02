#pragma once

#include "platform/Clipboard.h"
#include "platform/Clock.h"
#include "selection/Selection.h"

// Writes text back where a selection was captured: directly through accessibility when the
// application accepts it and the effect can be verified, otherwise by a synthetic paste of a
// temporary clipboard content, after which the user's clipboard is restored unless somebody
// changed it meanwhile. Both operations return at once and finish on their own later; the
// caller need not stay alive for them.
class TextReplacer {
public:
    static constexpr int replaceDelayMs = 200;
    static constexpr int pasteClipboardDelayMs = 80;
    static constexpr int restoreDelayMs = 600;

    static void replace(const Selection& selection, const QString& text, Clock& clock = Clock::system());
    static void pasteClipboard(const Selection& selection, Clock& clock = Clock::system());

    // The direct write: true only when the application took the text.
    static bool setViaAccessibility(const Selection& selection, const QString& text);

private:
    static void paste(const QString& text, Clock& clock);
    static void restore(const QList<ClipboardItem>& snapshot, qint64 expectedSerial);
    static void postPasteKeystroke();
    static void later(Clock& clock, int delayMs, std::function<void()> work);
};
