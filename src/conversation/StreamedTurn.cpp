#include "conversation/StreamedTurn.h"

#include "conversation/TokenSource.h"

#include <QCoreApplication>

namespace StreamedTurn {

QString lengthLimitNotice()
{
    return QCoreApplication::translate("StreamedTurn", "The answer hit the length limit and was cut off.");
}

ErrorFix fix(const TurnError& error, TokenSource* account)
{
    return ErrorFixes::fix(error, [account] {
        if (account)
            account->clearLocalSession();
    });
}

bool addSource(QList<WebSource>& list, const WebSource& source)
{
    if (list.contains(source))
        return false;
    list.append(source);
    return true;
}

QList<WebSource> sources(const QList<WebSource>& cited, const QList<WebSource>& found)
{
    return cited.isEmpty() ? found.first(std::min<qsizetype>(found.size(), maxFoundSources)) : cited;
}

QList<HistoryStore::Source> historySources(const QList<WebSource>& sources)
{
    QList<HistoryStore::Source> converted;
    converted.reserve(sources.size());
    for (const WebSource& source : sources)
        converted.append({source.title, source.url});
    return converted;
}

} // namespace StreamedTurn
