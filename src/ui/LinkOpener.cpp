#include "ui/LinkOpener.h"

#include "platform/Platform.h"
#include "ui/MarkdownText.h"
#include "ui/UiLog.h"

bool LinkOpener::open(const QUrl& url)
{
    // The address came with an answer: only its scheme goes to the log.
    if (!MarkdownText::canOpenLink(url)) {
        qCWarning(uiLog) << "Refused to open a link with the scheme" << url.scheme();
        return false;
    }
    if (Platform::workspace().openUrl(url))
        return true;
    qCWarning(uiLog) << "The desktop could not open a link with the scheme" << url.scheme();
    return false;
}
