#include "platform/fake/FakeClipboard.h"

const QString FakeClipboard::plainText = QStringLiteral("text/plain;charset=utf-8");

void FakeClipboard::copyFromElsewhere(const QString& text)
{
    content = {{{plainText, text.toUtf8()}}};
    ++changes;
}

QString FakeClipboard::string() const
{
    for (const ClipboardItem& item : content) {
        for (const auto& [type, data] : item) {
            if (type == plainText)
                return QString::fromUtf8(data);
        }
    }
    return QString();
}

bool FakeClipboard::hasText()
{
    for (const ClipboardItem& item : content) {
        for (const auto& [type, data] : item) {
            if (type.startsWith(QLatin1String("text/plain")))
                return true;
        }
    }
    return false;
}

void FakeClipboard::clear()
{
    content.clear();
    ++changes;
    if (journal)
        journal->append(QStringLiteral("clipboard clear"));
}

void FakeClipboard::setString(const QString& text)
{
    content = {{{plainText, text.toUtf8()}}};
    ++changes;
    if (journal)
        journal->append(QStringLiteral("clipboard set %1").arg(text));
}

void FakeClipboard::writeItems(const QList<ClipboardItem>& items)
{
    content.append(items);
    ++changes;
    if (journal)
        journal->append(QStringLiteral("clipboard write %1").arg(items.size()));
}
