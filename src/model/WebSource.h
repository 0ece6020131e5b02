#pragma once

#include <QHashFunctions>
#include <QString>
#include <QUrl>

// A web page that a search or fetch found or that an answer cites. Identified by its URL;
// two sources are equal only when title and URL both match.
struct WebSource {
    QString title;
    QUrl url;

    QUrl id() const { return url; }
    bool operator==(const WebSource& other) const { return title == other.title && url == other.url; }
};

inline size_t qHash(const WebSource& source, size_t seed = 0)
{
    return qHashMulti(seed, source.title, source.url);
}
