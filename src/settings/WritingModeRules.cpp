#include "settings/WritingModeRules.h"

#include <QCoreApplication>
#include <QTextBoundaryFinder>

namespace WritingModeRules {

namespace {

bool isSpaceOrTab(QChar c)
{
    return c == QLatin1Char('\t') || c.category() == QChar::Separator_Space;
}

// White space and line breaks: spaces, tabs, U+000A to U+000D, U+0085 and the line and
// paragraph separators, as QChar::isSpace() classifies them.
bool isSpaceOrNewline(QChar c)
{
    return c.isSpace();
}

template <typename Predicate> QString trimmedBy(const QString& text, Predicate drop)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && drop(text.at(begin)))
        ++begin;
    while (end > begin && drop(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

} // namespace

int characterCount(const QString& text)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    int count = 0;
    while (finder.toNextBoundary() > 0)
        ++count;
    return count;
}

QString leftCharacters(const QString& text, int count)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype end = 0;
    for (int i = 0; i < count && end < text.size(); ++i)
        end = finder.toNextBoundary();
    return text.left(end);
}

QString trimmed(const QString& text)
{
    return trimmedBy(text, isSpaceOrNewline);
}

bool canSave(const WritingMode& mode)
{
    return !trimmedBy(mode.name, isSpaceOrTab).isEmpty() && !trimmed(mode.instructions).isEmpty();
}

std::optional<WritingMode> normalized(const WritingMode& mode)
{
    WritingMode result = mode;
    result.name = trimmed(mode.name);
    result.instructions = leftCharacters(trimmed(mode.instructions), maxInstructionsLength);
    if (result.name.isEmpty() || result.instructions.isEmpty())
        return std::nullopt;
    return result;
}

QString counterText(const QString& instructions)
{
    return QCoreApplication::translate("WritingModeRules", "%1 of %2 characters")
        .arg(characterCount(instructions))
        .arg(maxInstructionsLength);
}

bool isOverLimit(const QString& instructions)
{
    return characterCount(instructions) > maxInstructionsLength;
}

} // namespace WritingModeRules
