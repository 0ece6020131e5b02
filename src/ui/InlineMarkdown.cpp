#include "ui/InlineMarkdown.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextImageFormat>
#include <algorithm>

namespace {

constexpr QChar lineSeparator = QChar::LineSeparator;

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

QStringView trimmedBlanks(QStringView s)
{
    while (!s.isEmpty() && isBlank(s.front()))
        s = s.sliced(1);
    while (!s.isEmpty() && isBlank(s.back()))
        s.chop(1);
    return s;
}

qsizetype leadingBlanks(QStringView s)
{
    qsizetype n = 0;
    while (n < s.size() && isBlank(s[n]))
        ++n;
    return n;
}

QList<QStringView> splitLines(QStringView text)
{
    QList<QStringView> lines;
    for (QStringView line : text.split(u'\n'))
        lines.append(line.endsWith(u'\r') ? line.chopped(1) : line);
    return lines;
}

// A line made only of one of "*", "-", "_" (three or more) and blanks is a thematic break.
bool isRuleLine(QStringView line, QChar mark)
{
    int marks = 0;
    for (QChar c : line) {
        if (c == mark)
            ++marks;
        else if (!isBlank(c))
            return false;
    }
    return marks >= 3;
}

// Where a backslash must go so that a line (without leading blanks) cannot open a block:
// -1 when the line is inline text already.
qsizetype escapePosition(QStringView line)
{
    const QChar first = line.front();
    switch (first.unicode()) {
    case u'#':
    case u'>':
    case u'=':
    case u'-':
    case u'+':
        return 0;
    case u'*':
    case u'_':
        return line.size() == 1 || isBlank(line[1]) || isRuleLine(line, first) ? 0 : -1;
    case u'`':
    case u'~':
        return line.startsWith(QString(3, first)) ? 0 : -1;
    case u'[':
        return line.contains(u"]:") ? 0 : -1;
    default:
        break;
    }
    qsizetype digits = 0;
    while (digits < line.size() && line[digits] >= u'0' && line[digits] <= u'9')
        ++digits;
    if (digits > 0 && digits < line.size() && (line[digits] == u'.' || line[digits] == u')'))
        return digits;
    return -1;
}

// Keeps a document in one edit block while it is built. Outside one, every insertion lays out
// the cursor's whole block again to place the cursor, which makes building a long paragraph
// piece by piece quadratic in its length.
class EditBlock {
public:
    explicit EditBlock(QTextCursor& cursor) : m_cursor(cursor) { m_cursor.beginEditBlock(); }
    ~EditBlock() { m_cursor.endEditBlock(); }
    EditBlock(const EditBlock&) = delete;
    EditBlock& operator=(const EditBlock&) = delete;

private:
    QTextCursor& m_cursor;
};

} // namespace

QString InlineMarkdown::source(const QList<QStringView>& lines)
{
    QString markdown;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            markdown += u"  \n"; // two trailing spaces: a hard line break
        const QStringView line = trimmedBlanks(lines[i]);
        const qsizetype escape = line.isEmpty() ? -1 : escapePosition(line);
        if (escape < 0) {
            markdown += line;
            continue;
        }
        markdown += line.first(escape);
        markdown += u'\\';
        markdown += line.sliced(escape);
    }
    return markdown;
}

QTextDocumentFragment InlineMarkdown::fragment(const QString& text)
{
    return style(text, false).fragment;
}

InlineMarkdown::Piece InlineMarkdown::piece(const QString& text)
{
    return style(text, true);
}

InlineMarkdown::Piece InlineMarkdown::style(const QString& text, bool askClosed)
{
    QTextDocument document;
    document.setUndoRedoEnabled(false);
    {
        QTextCursor cursor(&document);
        const EditBlock batch(cursor);
        if (!appendLines(cursor, splitLines(text)))
            return {plain(text), false, false};
    }
    const bool closed = askClosed && !document.toPlainText().trimmed().isEmpty() && !hasLooseMarkers(document);
    return {QTextDocumentFragment(&document), true, closed};
}

// Markers the reader left as text (outside code spans) may still pair with markers after them.
bool InlineMarkdown::hasLooseMarkers(const QTextDocument& document)
{
    static const QString markers = QStringLiteral("*_`[~");
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment piece = it.fragment();
            if (piece.charFormat().fontFixedPitch())
                continue;
            const QString text = piece.text();
            if (std::any_of(text.begin(), text.end(), [](QChar c) { return markers.contains(c); }))
                return true;
        }
    }
    return false;
}

bool InlineMarkdown::appendLines(QTextCursor& cursor, const QList<QStringView>& lines)
{
    // Blanks before the first word are text the reader would drop or read as indentation.
    cursor.insertText(lines.front().first(leadingBlanks(lines.front())).toString());
    qsizetype i = 0;
    while (i < lines.size()) {
        if (i > 0)
            cursor.insertText(QString(lineSeparator), QTextCharFormat());
        if (trimmedBlanks(lines[i]).isEmpty()) {
            ++i;
            continue;
        }
        qsizetype end = i;
        while (end < lines.size() && !trimmedBlanks(lines[end]).isEmpty())
            ++end;
        if (!appendRun(cursor, lines.mid(i, end - i)))
            return false;
        i = end;
    }
    return true;
}

bool InlineMarkdown::appendRun(QTextCursor& cursor, const QList<QStringView>& lines)
{
    QTextDocument parsed;
    parsed.setUndoRedoEnabled(false);
    // The reader inserts through a cursor of its own; an edit block held open on its document
    // spares it the same cost.
    QTextCursor reader(&parsed);
    const EditBlock batch(reader);
    // CommonMark without raw HTML: tags in an answer are shown as the text they are.
    parsed.setMarkdown(source(lines), QTextDocument::MarkdownFeatures(QTextDocument::MarkdownNoHTML));
    // Text that vanished (or turned into structure) means the reader took it some other way.
    if (!isInlineOnly(parsed) || parsed.toPlainText().trimmed().isEmpty())
        return false;
    copyBlocks(cursor, parsed);
    return true;
}

bool InlineMarkdown::isInlineOnly(const QTextDocument& document)
{
    if (!document.rootFrame()->childFrames().isEmpty())
        return false;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextBlockFormat format = block.blockFormat();
        if (block.textList() || format.headingLevel() > 0 || format.hasProperty(QTextFormat::BlockQuoteLevel) ||
            format.hasProperty(QTextFormat::BlockCodeLanguage) ||
            format.hasProperty(QTextFormat::BlockTrailingHorizontalRulerWidth))
            return false;
    }
    return true;
}

// Copies text and the kept styles only; hard breaks (separate blocks in the parsed document)
// become line separators, images their alternative text.
void InlineMarkdown::copyBlocks(QTextCursor& cursor, const QTextDocument& document)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block != document.begin())
            cursor.insertText(QString(lineSeparator), QTextCharFormat());
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment piece = it.fragment();
            const QTextCharFormat format = piece.charFormat();
            if (format.isImageFormat())
                cursor.insertText(format.stringProperty(QTextFormat::ImageAltText), QTextCharFormat());
            else
                cursor.insertText(piece.text(), keptStyle(format));
        }
    }
}

QTextCharFormat InlineMarkdown::keptStyle(const QTextCharFormat& format)
{
    QTextCharFormat kept;
    if (format.fontItalic())
        kept.setFontItalic(true);
    if (format.hasProperty(QTextFormat::FontWeight) && format.fontWeight() > QFont::Normal)
        kept.setFontWeight(QFont::Bold);
    if (format.fontFixedPitch()) {
        kept.setFontFixedPitch(true);
        kept.setProperty(QTextFormat::FontFamilies, format.property(QTextFormat::FontFamilies));
    }
    if (format.isAnchor()) {
        kept.setAnchor(true);
        kept.setAnchorHref(format.anchorHref());
        if (!format.toolTip().isEmpty())
            kept.setToolTip(format.toolTip());
    }
    return kept;
}

QTextDocumentFragment InlineMarkdown::plain(const QString& text)
{
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QString(lineSeparator));
    lines.replace(u'\n', lineSeparator);
    lines.replace(u'\r', lineSeparator);
    QTextDocument document;
    QTextCursor(&document).insertText(lines);
    return QTextDocumentFragment(&document);
}
