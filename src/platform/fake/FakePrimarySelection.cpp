#include "platform/fake/FakePrimarySelection.h"

void FakePrimarySelection::claim(qint32 pid, qint64 atMs, const QString& text)
{
    owner = pid;
    claimedAtMs = atMs;
    content = text;
}

std::optional<qint32> FakePrimarySelection::ownerClaimedSince(qint64 sinceMs)
{
    if (claimedAtMs < sinceMs)
        return std::nullopt;
    return owner;
}

std::optional<QString> FakePrimarySelection::text()
{
    ++textReads;
    if (content && content->size() > maxLength)
        return std::nullopt;
    return content;
}
