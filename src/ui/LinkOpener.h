#pragma once

#include <QUrl>

#include <functional>

// Opens links clicked in answer text. Answers are untrusted, so only addresses that
// MarkdownText::canOpenLink allows are handed on; everything else is ignored.
class LinkOpener {
public:
    // Returns whether the link was handed to the desktop.
    static bool open(const QUrl& url);
    // Replaces what opening means (the desktop's URL handler by default); for start-up and tests.
    static void setHandler(std::function<bool(const QUrl&)> handler);
};
