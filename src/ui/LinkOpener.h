#pragma once

#include <QUrl>

// Opens links clicked in answer text through the desktop's workspace service. Answers and web
// sources are untrusted, so only addresses that MarkdownText::canOpenLink allows are handed on;
// everything else is ignored.
class LinkOpener {
public:
    // Returns whether the link was handed to the desktop and taken.
    static bool open(const QUrl& url);
};
