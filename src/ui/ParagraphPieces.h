#pragma once

#include <QList>
#include <QString>
#include <QTextDocumentFragment>

// One block's text styled inline, in pieces that can each be laid out on their own. A long text
// is cut at the start of a line (which always begins a new line on screen) where the text before
// leaves nothing open for later text to close, so a text that grows at its end, as a streamed
// answer does, only restyles and lays out its last piece. The pieces, one after another with
// a line break between them, read and look exactly like the whole text styled at once. Text
// that could not be cut safely (left-to-right only, no table or link definition syntax) stays
// one piece.
class ParagraphPieces {
public:
    // An update lays the last piece out again (its label does so several times over) and
    // repaints what of it is in view, so its cost follows the last piece's length: short pieces
    // keep it small. A piece still runs on to the first line break past this length.
    static constexpr qsizetype defaultPieceLength = 256;

    // `pieceLength`: how long a piece grows before a cut is looked for.
    explicit ParagraphPieces(qsizetype pieceLength = defaultPieceLength) : m_pieceLength(pieceLength) {}

    // Takes a new text; returns the index of the first piece that changed (pieces().size() when
    // none did).
    qsizetype setText(const QString& text);
    const QString& text() const { return m_text; }
    const QList<QTextDocumentFragment>& pieces() const { return m_pieces; }

private:
    struct Cut {
        // Where the next piece starts (past the line break and the blanks after it).
        qsizetype next;
        QTextDocumentFragment before;
    };

    bool canBeCut();
    void reset();
    void findCuts();
    qsizetype pieceStart() const { return m_cuts.isEmpty() ? 0 : m_cuts.last().next; }

    qsizetype m_pieceLength;
    QString m_text;
    QList<Cut> m_cuts;
    // The earliest line break the next cut may be at: cuts are tried once each, and after a
    // failed one the piece must double in length before the next is tried.
    qsizetype m_nextTry = 0;
    // How much of the text was looked at for what forbids a cut, and whether anything did.
    qsizetype m_scanned = 0;
    bool m_cuttable = true;
    QList<QTextDocumentFragment> m_pieces;
    // How many pieces before the last are cut pieces (-1 when the text is shown whole).
    qsizetype m_shownCuts = -1;
};
