#include "platform/fake/FakePasteboard.h"

const QString FakePasteboard::plainText = QStringLiteral("text/plain;charset=utf-8");

void FakePasteboard::copyFromElsewhere(const QString& text)
{
    content = {{{plainText, text.toUtf8()}}};
    ++changes;
}

QString FakePasteboard::string() const
{
    for (const PasteboardItem& item : content) {
        for (const auto& [type, data] : item) {
            if (type == plainText)
                return QString::fromUtf8(data);
        }
    }
    return QString();
}

bool FakePasteboard::hasText()
{
    for (const PasteboardItem& item : content) {
        for (const auto& [type, data] : item) {
            if (type.startsWith(QLatin1String("text/plain")))
                return true;
        }
    }
    return false;
}

void FakePasteboard::clear()
{
    content.clear();
    ++changes;
    if (journal)
        journal->append(QStringLiteral("clipboard clear"));
}

void FakePasteboard::setString(const QString& text)
{
    content = {{{plainText, text.toUtf8()}}};
    ++changes;
    if (journal)
        journal->append(QStringLiteral("clipboard set %1").arg(text));
}

void FakePasteboard::writeItems(const QList<PasteboardItem>& items)
{
    content.append(items);
    ++changes;
    if (journal)
        journal->append(QStringLiteral("clipboard write %1").arg(items.size()));
}
