#include "ui/MarkdownText.h"

#include "ui/InlineMarkdown.h"

#include <QHashFunctions>
#include <QVarLengthArray>

namespace {

using Block = MarkdownText::Block;

// Spaces and tabs: the whitespace that is trimmed from the ends of a line.
bool isBlank(QChar c)
{
    const char16_t u = c.unicode();
    if (u == u' ' || u == u'\t')
        return true;
    return u >= 0x80 && c.category() == QChar::Separator_Space;
}

QStringView trimmedBlanks(QStringView s)
{
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (begin < end && isBlank(s[begin]))
        ++begin;
    while (end > begin && isBlank(s[end - 1]))
        --end;
    return s.sliced(begin, end - begin);
}

// The length of the run of numeric characters (any script, including those outside the BMP)
// at the start of s.
qsizetype numericPrefix(QStringView s)
{
    qsizetype i = 0;
    while (i < s.size()) {
        char32_t cp = s[i].unicode();
        qsizetype width = 1;
        if (QChar::isHighSurrogate(cp) && i + 1 < s.size() && s[i + 1].isLowSurrogate()) {
            cp = QChar::surrogateToUcs4(s[i], s[i + 1]);
            width = 2;
        }
        if (!(cp >= u'0' && cp <= u'9') && (cp < 0x80 || !QChar::isNumber(cp)))
            break;
        i += width;
    }
    return i;
}

// The lines joined by "\n", built with a single allocation.
QString joinLines(const QVarLengthArray<QStringView, 32>& lines)
{
    if (lines.isEmpty())
        return {};
    qsizetype size = lines.size() - 1;
    for (QStringView line : lines)
        size += line.size();
    QString joined(size, Qt::Uninitialized);
    QChar* out = joined.data();
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            *out++ = u'\n';
        out = std::copy(lines[i].begin(), lines[i].end(), out);
    }
    return joined;
}

// Exactly "---" or "***".
bool isRule(QStringView s)
{
    return s.size() == 3 && (s[0] == u'-' || s[0] == u'*') && s[1] == s[0] && s[2] == s[0];
}

qsizetype leadingSpaces(QStringView s)
{
    qsizetype n = 0;
    while (n < s.size() && s[n] == u' ')
        ++n;
    return n;
}

// Walks the lines of an answer once, keeping the pending paragraph and, inside a fence, the
// code lines gathered so far.
class Parser {
public:
    // Answers run to about one block per 64 characters; reserving spares regrowing the list.
    explicit Parser(qsizetype inputSize) { m_blocks.reserve(inputSize / 64); }
    void addLine(QStringView line);
    QList<Block> finish();
    // Whether every block so far is finished: the lines before add nothing to later blocks.
    bool isSettled() const { return !m_inCode && m_paragraph.isEmpty(); }
    qsizetype blockCount() const { return m_blocks.size(); }

private:
    bool fence(QStringView trimmed);
    bool heading(QStringView trimmed);
    bool bullet(QStringView line, QStringView trimmed);
    bool numbered(QStringView trimmed);
    void append(Block block);
    void emitParagraph();

    QList<Block> m_blocks;
    // Views into the input, joined only when their block is emitted.
    QVarLengthArray<QStringView, 32> m_paragraph;
    QVarLengthArray<QStringView, 32> m_code;
    bool m_inCode = false;
};

void Parser::addLine(QStringView line)
{
    const QStringView trimmed = trimmedBlanks(line);
    if (fence(trimmed))
        return;
    if (m_inCode) {
        m_code.append(line);
        return;
    }
    if (trimmed.isEmpty()) {
        emitParagraph();
        return;
    }
    if (heading(trimmed) || bullet(line, trimmed) || numbered(trimmed))
        return;
    if (isRule(trimmed)) {
        emitParagraph();
        return;
    }
    m_paragraph.append(trimmed);
}

bool Parser::fence(QStringView trimmed)
{
    if (trimmed.size() < 3 || trimmed[0] != u'`' || trimmed[1] != u'`' || trimmed[2] != u'`')
        return false;
    if (m_inCode)
        append(Block::code(joinLines(m_code)));
    else
        emitParagraph();
    m_code.clear();
    m_inCode = !m_inCode;
    return true;
}

bool Parser::heading(QStringView trimmed)
{
    if (!trimmed.startsWith(u'#'))
        return false;
    qsizetype level = 0;
    while (level < trimmed.size() && trimmed[level] == u'#')
        ++level;
    if (level > 6 || level == trimmed.size() || trimmed[level] != u' ')
        return false;
    emitParagraph();
    append(Block::heading(int(level), trimmedBlanks(trimmed.sliced(level)).toString()));
    return true;
}

bool Parser::bullet(QStringView line, QStringView trimmed)
{
    const QChar first = trimmed.front();
    if (first != u'-' && first != u'*' && first != u'+')
        return false;
    if (trimmed.size() < 2 || trimmed[1] != u' ')
        return false;
    emitParagraph();
    append(Block::bullet(trimmed.sliced(2).toString(), int(leadingSpaces(line) / 2)));
    return true;
}

bool Parser::numbered(QStringView trimmed)
{
    const qsizetype digits = numericPrefix(trimmed);
    if (digits == 0 || digits + 1 >= trimmed.size())
        return false;
    const QChar delimiter = trimmed[digits];
    if ((delimiter != u'.' && delimiter != u')') || trimmed[digits + 1] != u' ')
        return false;
    emitParagraph();
    append(Block::numbered(trimmed.first(digits + 1).toString(), trimmedBlanks(trimmed.sliced(digits + 1)).toString()));
    return true;
}

void Parser::append(Block block)
{
    m_blocks.append(std::move(block));
}

void Parser::emitParagraph()
{
    if (m_paragraph.isEmpty())
        return;
    append(Block::paragraph(joinLines(m_paragraph)));
    m_paragraph.clear();
}

QList<Block> Parser::finish()
{
    if (m_inCode)
        append(Block::code(joinLines(m_code)));
    emitParagraph();
    return std::move(m_blocks);
}

// One line without its terminator; a carriage return before the line feed (or at the very end,
// where a streamed CRLF may be cut in two) belongs to the terminator, not to the text.
QStringView withoutCarriageReturn(QStringView line)
{
    return line.endsWith(u'\r') ? line.chopped(1) : line;
}

} // namespace

QList<MarkdownText::Block> MarkdownText::parse(QStringView markdown)
{
    return parse(markdown, {}, nullptr);
}

QList<MarkdownText::Block> MarkdownText::parse(QStringView markdown, Checkpoint from, Checkpoint* last)
{
    Parser parser(markdown.size() - from.offset);
    Checkpoint settled = from;
    qsizetype start = from.offset;
    while (true) {
        const qsizetype end = markdown.indexOf(u'\n', start);
        if (end < 0)
            break;
        parser.addLine(withoutCarriageReturn(markdown.sliced(start, end - start)));
        start = end + 1;
        if (parser.isSettled())
            settled = {start, from.blockCount + parser.blockCount()};
    }
    parser.addLine(withoutCarriageReturn(markdown.sliced(start)));
    if (last)
        *last = settled;
    return parser.finish();
}

QTextDocumentFragment MarkdownText::inlineText(const QString& text)
{
    return InlineMarkdown::fragment(text);
}

bool MarkdownText::canOpenLink(const QUrl& url)
{
    if (!url.isValid() || url.isRelative())
        return false;
    const QString scheme = url.scheme().toLower();
    if (scheme == u"http" || scheme == u"https")
        return !url.host().isEmpty();
    if (scheme == u"mailto")
        return !url.path().isEmpty();
    return false;
}

size_t qHash(const MarkdownText::Block& block, size_t seed)
{
    return qHashMulti(seed, int(block.kind), block.text, block.level, block.marker);
}
