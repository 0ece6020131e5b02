#include "app/LaunchCommand.h"

LaunchCommand LaunchCommand::fromArguments(const QStringList& arguments)
{
    for (const QString& argument : arguments) {
        if (argument == QStringLiteral("--show-actions"))
            return {Kind::ShowActions, {}};
        const QUrl url(argument, QUrl::StrictMode);
        if (url.isValid() && url.scheme().compare(QStringLiteral("halvora"), Qt::CaseInsensitive) == 0)
            return fromUrl(url);
    }
    return {};
}

LaunchCommand LaunchCommand::fromUrl(const QUrl& url)
{
    if (url.host(QUrl::FullyEncoded) == QStringLiteral("open"))
        return {Kind::OpenMainWindow, url};
    return {Kind::AccountCallback, url};
}
