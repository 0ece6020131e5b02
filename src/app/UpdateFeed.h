#pragma once

#include <QString>
#include <QUrl>
#include <optional>

// The newest release announced by an update feed in the RSS appcast format: each <item> holds a
// title, release notes in <description> and an <enclosure> whose url is the download and whose
// sparkle:version (or sparkle:shortVersionString, or a <sparkle:version> element) is the version.
struct UpdateFeed {
    QString version;
    QString title;
    QString notes;
    QUrl download;

    // The item with the highest version; nothing when the feed has no readable item.
    static std::optional<UpdateFeed> newest(const QByteArray& xml);
    // Compares dotted versions number by number ("1.10" is newer than "1.9"); a missing part
    // counts as 0. Negative, zero or positive like a comparison.
    static int compareVersions(const QString& left, const QString& right);
};
