#include "ui/MarkdownText.h"
#include "ui/ParagraphPieces.h"

#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

namespace {

// The pieces one after another with a line break between them, as their labels show them.
QString joined(const QList<QTextDocumentFragment>& pieces)
{
    QTextDocument document;
    QTextCursor cursor(&document);
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        if (i > 0)
            cursor.insertText(QString(QChar::LineSeparator), QTextCharFormat());
        cursor.insertFragment(pieces[i]);
    }
    return document.toHtml();
}

QStringList html(const QList<QTextDocumentFragment>& pieces)
{
    QStringList out;
    for (const QTextDocumentFragment& piece : pieces)
        out.append(piece.toHtml());
    return out;
}

constexpr qsizetype shortPieces = 20;

} // namespace

class TestParagraphPieces : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Whether a text arrives whole or a few characters at a time, its pieces read and look like
    // the whole text styled at once, and each update reports the first piece it changed.
    void piecesLookLikeTheWholeText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("cut");
        QTest::newRow("styled lines") << QStringLiteral("The **first** point, with *evidence*.\nSee [the guide]"
                                                        "(https://example.com) now.\nA `code` span and _more_ "
                                                        "here.\nPlain words close it.")
                                      << true;
        QTest::newRow("emphasis across lines")
            << QStringLiteral("Some words first.\nAn *opened\nemphasis closes* here, then words.\nlast line here")
            << true;
        QTest::newRow("code span across lines")
            << QStringLiteral("Some words first.\nA `code\nspan` across lines, then words.\nend of it all") << true;
        QTest::newRow("link text across lines")
            << QStringLiteral("Some words first.\nA [link\ntext](https://example.com) across.\nend of it all") << true;
        QTest::newRow("marker left open, closed much later")
            << QStringLiteral("A star * alone here\nthen *emph* later on\nand more lines here\nfinal* word") << false;
        QTest::newRow("never cut before a line opening with a bracket")
            << QStringLiteral("Some line long enough\n[a]: https://example.com\n[a] and more words") << false;
        QTest::newRow("table syntax") << QStringLiteral(
                                             "first | second column\n:-- | ---\nc | d and some more\nmore text here")
                                      << false;
        QTest::newRow("link definition at the start")
            << QStringLiteral("[a\nb]: https://example.com\nText [a b] here, long\nmore text follows") << false;
        QTest::newRow("right-to-left line")
            << QStringLiteral("English first line here\n123 עברית and more\nmore words follow") << false;
        // The letter's two halves arrive with different updates (the stream below takes 3 at a time).
        QTest::newRow("right-to-left letter beyond the basic plane, arriving in halves")
            << QStringLiteral("Some words first.\nmore words here, long\nand a letter \U0001E900 here\nmore") << false;
        QTest::newRow("pipe arriving after cuts were made")
            << QStringLiteral("Some words first.\nmore words here, long\nthen a | pipe\nmore words") << false;
        QTest::newRow("leading blanks")
            << QStringLiteral("  indented first line\n   indented next line here\n\tlast one, *styled*") << true;
        QTest::newRow("carriage returns")
            << QStringLiteral("first line long enough\r\nsecond line, **long** too\r\nthird") << true;
        QTest::newRow("markers as text in a line")
            << QStringLiteral("Some words first, long.\nsnake_case and 2 * 3 here\nplain words after it\nend") << true;
    }
    void piecesLookLikeTheWholeText()
    {
        QFETCH(QString, text);
        QFETCH(bool, cut);
        const QString whole = joined({MarkdownText::inlineText(text)});

        ParagraphPieces atOnce(shortPieces);
        atOnce.setText(text);
        QCOMPARE(joined(atOnce.pieces()), whole);
        QCOMPARE(atOnce.pieces().size() > 1, cut);

        ParagraphPieces streamed(shortPieces);
        for (qsizetype end = 3; end < text.size() + 3; end += 3) {
            const QStringList before = html(streamed.pieces());
            const qsizetype first = streamed.setText(text.left(end));
            const QStringList after = html(streamed.pieces());
            QCOMPARE(after.mid(0, first), before.mid(0, first));
            QCOMPARE(joined(streamed.pieces()), joined({MarkdownText::inlineText(text.left(end))}));
        }
        QCOMPARE(html(streamed.pieces()), html(atOnce.pieces()));
    }

    // A text that does not extend the last one is cut again from its start.
    void aReplacedTextIsCutAgain()
    {
        const QString text = QStringLiteral("first line, long enough\nsecond line, long enough\nthird");
        ParagraphPieces pieces(shortPieces);
        pieces.setText(text);
        const QString changed = QStringLiteral("FIRST") + text.mid(5);
        QCOMPARE(pieces.setText(changed), 0);
        QCOMPARE(joined(pieces.pieces()), joined({MarkdownText::inlineText(changed)}));
        QCOMPARE(pieces.setText(QStringLiteral("other")), 0);
        QCOMPARE(pieces.pieces().size(), 1);
    }
};

QTEST_MAIN(TestParagraphPieces)
#include "tst_paragraphpieces.moc"
