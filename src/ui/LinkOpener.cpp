#include "ui/LinkOpener.h"

#include "ui/MarkdownText.h"

#include <QDesktopServices>

namespace {
std::function<bool(const QUrl&)>& handler()
{
    static std::function<bool(const QUrl&)> current = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    return current;
}
} // namespace

bool LinkOpener::open(const QUrl& url)
{
    if (!MarkdownText::canOpenLink(url))
        return false;
    return handler()(url);
}

void LinkOpener::setHandler(std::function<bool(const QUrl&)> opener)
{
    handler() = std::move(opener);
}
