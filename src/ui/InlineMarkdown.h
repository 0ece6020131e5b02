#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <QTextCursor>
#include <QTextDocumentFragment>

class QTextCharFormat;
class QTextDocument;

// Styles one block's text with Qt's Markdown reader, kept to inline styling: emphasis, strong,
// code spans and links. Lines that would open a block of their own (heading, quote, list, rule,
// fence, link definition) are taken as text, line breaks stay line breaks, images are replaced by
// their alternative text, and anything the reader still turns into structure makes the whole text
// come back unstyled. Needs a QGuiApplication (for the fixed-pitch font).
class InlineMarkdown {
public:
    // A single paragraph whose lines are separated by line separators (U+2028).
    static QTextDocumentFragment fragment(const QString& text);

    // The text styled as fragment() does, and whether it was styled (not given back unstyled)
    // and closed: it is not empty, and no emphasis, code span or link marker is left in it as
    // plain text, so nothing in it is open for text after it to close.
    struct Piece {
        QTextDocumentFragment fragment;
        bool styled = false;
        bool closed = false;
    };
    static Piece piece(const QString& text);

private:
    static Piece style(const QString& text, bool askClosed);
    // Styles the lines one run of non-blank lines at a time; false when a run cannot be styled.
    static bool appendLines(QTextCursor& cursor, const QList<QStringView>& lines);
    // The Markdown source for one run of non-blank lines: block openers escaped, lines joined
    // by hard breaks.
    static QString source(const QList<QStringView>& lines);
    static bool appendRun(QTextCursor& cursor, const QList<QStringView>& lines);
    static bool isInlineOnly(const QTextDocument& document);
    static void copyBlocks(QTextCursor& cursor, const QTextDocument& document);
    static QTextCharFormat keptStyle(const QTextCharFormat& format);
    static bool hasLooseMarkers(const QTextDocument& document);
    static QTextDocumentFragment plain(const QString& text);
};
