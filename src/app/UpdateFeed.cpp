#include "app/UpdateFeed.h"

#include <QRegularExpression>
#include <QXmlStreamReader>

namespace {

void readItem(QXmlStreamReader& xml, UpdateFeed& item)
{
    while (xml.readNextStartElement()) {
        const QStringView name = xml.qualifiedName();
        if (name == u"enclosure") {
            const QXmlStreamAttributes attributes = xml.attributes();
            item.download = QUrl(attributes.value(QStringLiteral("url")).toString());
            for (const QXmlStreamAttribute& attribute : attributes) {
                if (attribute.qualifiedName() == u"sparkle:version" && item.version.isEmpty())
                    item.version = attribute.value().toString();
                if (attribute.qualifiedName() == u"sparkle:shortVersionString" && item.version.isEmpty())
                    item.version = attribute.value().toString();
            }
            xml.skipCurrentElement();
        } else if (name == u"sparkle:version") {
            item.version = xml.readElementText().trimmed();
        } else if (name == u"title") {
            item.title = xml.readElementText().trimmed();
        } else if (name == u"description") {
            item.notes = xml.readElementText().trimmed();
        } else {
            xml.skipCurrentElement();
        }
    }
}

} // namespace

std::optional<UpdateFeed> UpdateFeed::newest(const QByteArray& bytes)
{
    QXmlStreamReader xml(bytes);
    std::optional<UpdateFeed> best;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != u"item")
            continue;
        UpdateFeed item;
        readItem(xml, item);
        const bool usable = !item.version.isEmpty() && item.download.isValid() &&
                            (item.download.scheme() == u"https" || item.download.scheme() == u"http");
        if (usable && (!best || compareVersions(item.version, best->version) > 0))
            best = item;
    }
    if (xml.hasError())
        return std::nullopt;
    return best;
}

int UpdateFeed::compareVersions(const QString& left, const QString& right)
{
    static const QRegularExpression separator(QStringLiteral("[.-]"));
    const QStringList a = left.split(separator);
    const QStringList b = right.split(separator);
    for (qsizetype i = 0; i < qMax(a.size(), b.size()); ++i) {
        const int x = a.value(i).toInt();
        const int y = b.value(i).toInt();
        if (x != y)
            return x < y ? -1 : 1;
    }
    return 0;
}
