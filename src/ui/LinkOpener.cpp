#include "ui/LinkOpener.h"

#include "platform/Platform.h"
#include "ui/MarkdownText.h"

bool LinkOpener::open(const QUrl& url)
{
    if (!MarkdownText::canOpenLink(url))
        return false;
    return Platform::workspace().openUrl(url);
}
