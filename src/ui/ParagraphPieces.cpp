#include "ui/ParagraphPieces.h"

#include "ui/InlineMarkdown.h"

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

// Characters that make a line's order depend on text beyond it (right-to-left letters and
// numbers, explicit direction marks).
bool changesDirection(char32_t c)
{
    switch (QChar::direction(c)) {
    case QChar::DirR:
    case QChar::DirAL:
    case QChar::DirAN:
    case QChar::DirRLE:
    case QChar::DirRLO:
    case QChar::DirLRE:
    case QChar::DirLRO:
    case QChar::DirPDF:
    case QChar::DirRLI:
    case QChar::DirLRI:
    case QChar::DirFSI:
    case QChar::DirPDI:
        return true;
    default:
        return false;
    }
}

} // namespace

// A table needs a pipe, link definitions begin a paragraph with a bracket: both join lines into
// structure, so a text with either is never cut. A text that grows at its end only has its new
// end looked at: what was looked at before stays as it was.
bool ParagraphPieces::canBeCut()
{
    qsizetype first = 0;
    while (first < m_text.size() && isBlank(m_text[first]))
        ++first;
    if (first < m_text.size() && m_text[first] == u'[')
        return false;
    for (qsizetype i = m_scanned; m_cuttable && i < m_text.size(); ++i) {
        char32_t c = m_text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 == m_text.size())
            break; // the other half may come with the next text
        m_scanned = i + 1;
        if (c == u'|') {
            m_cuttable = false;
        } else if (c >= 0x80) {
            if (QChar::isHighSurrogate(c) && m_text[i + 1].isLowSurrogate()) {
                c = QChar::surrogateToUcs4(m_text[i], m_text[i + 1]);
                ++i;
                m_scanned = i + 1;
            }
            m_cuttable = !changesDirection(c);
        }
    }
    return m_cuttable;
}

void ParagraphPieces::reset()
{
    m_cuts.clear();
    m_nextTry = 0;
    m_shownCuts = -1;
    m_scanned = 0;
    m_cuttable = true;
}

qsizetype ParagraphPieces::setText(const QString& text)
{
    if (text == m_text && !m_pieces.isEmpty())
        return m_pieces.size();
    if (!text.startsWith(m_text) || m_text.isEmpty())
        reset();
    m_text = text;
    const qsizetype shownBefore = m_shownCuts;
    if (canBeCut()) {
        findCuts();
        const InlineMarkdown::Piece last = InlineMarkdown::piece(text.sliced(pieceStart()));
        if (last.styled || m_cuts.isEmpty()) {
            m_pieces.resize(m_cuts.size());
            for (qsizetype i = qMax<qsizetype>(0, shownBefore); i < m_cuts.size(); ++i)
                m_pieces[i] = m_cuts[i].before;
            m_pieces.append(last.fragment);
            m_shownCuts = m_cuts.size();
            return shownBefore < 0 ? 0 : shownBefore;
        }
    }
    // The text as one piece, styled (or left plain) as a whole.
    m_pieces = {InlineMarkdown::fragment(text)};
    m_shownCuts = -1;
    return 0;
}

void ParagraphPieces::findCuts()
{
    for (;;) {
        const qsizetype start = pieceStart();
        const qsizetype end = m_text.indexOf(u'\n', qMax(m_nextTry, start + m_pieceLength));
        if (end < 0)
            return;
        qsizetype next = end + 1;
        while (next < m_text.size() && isBlank(m_text[next]))
            ++next;
        // Whether the next line could be a link definition is known from its first character.
        if (next >= m_text.size())
            return;
        m_nextTry = end + 1;
        if (m_text[next] == u'[')
            continue;
        InlineMarkdown::Piece before = InlineMarkdown::piece(m_text.sliced(start, end - start));
        if (!before.closed) {
            m_nextTry = qMax(m_nextTry, start + 2 * (end - start));
            continue;
        }
        m_cuts.append({next, before.fragment});
    }
}
