#include "common/ServiceUrl.h"

namespace ServiceUrl {

QUrl appending(const QUrl& base, const QString& path)
{
    QUrl url = base;
    QString joined = base.path();
    if (!joined.endsWith(QLatin1Char('/')))
        joined += QLatin1Char('/');
    url.setPath(joined + path);
    return url;
}

} // namespace ServiceUrl
