#include "ui/MarkdownText.h"

#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

// Writes a styled fragment back out in a compact notation: _italic_, **bold**, `code`,
// [text](href), ⏎ for a line separator and ¶ for a paragraph break, so rows read at a glance.
static QString describe(const QTextDocumentFragment& fragment)
{
    QTextDocument document;
    QTextCursor(&document).insertFragment(fragment);
    QString out;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block != document.begin())
            out += u'¶';
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (format.isImageFormat())
                return QStringLiteral("<image>");
            QString text = it.fragment().text();
            text.replace(QChar::LineSeparator, u'⏎');
            if (format.fontFixedPitch())
                text = u'`' + text + u'`';
            if (format.fontItalic())
                text = u'_' + text + u'_';
            if (format.fontWeight() > QFont::Normal)
                text = QStringLiteral("**") + text + QStringLiteral("**");
            if (format.isAnchor())
                text = u'[' + text + QStringLiteral("](") + format.anchorHref() + u')';
            out += text;
        }
    }
    return out;
}

class TestInlineMarkdown : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void styles_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("styled");

        QTest::newRow("plain") << QStringLiteral("just  words") << QStringLiteral("just  words");
        QTest::newRow("emphasis") << QStringLiteral("an *odd* word") << QStringLiteral("an _odd_ word");
        QTest::newRow("emphasis with underscores") << QStringLiteral("_odd_") << QStringLiteral("_odd_");
        QTest::newRow("strong") << QStringLiteral("**Note:** read") << QStringLiteral("**Note:** read");
        QTest::newRow("strong emphasis") << QStringLiteral("***both***") << QStringLiteral("**_both_**");
        QTest::newRow("code span") << QStringLiteral("run `ls -l` now") << QStringLiteral("run `ls -l` now");
        QTest::newRow("no styling inside code") << QStringLiteral("`**x**`") << QStringLiteral("`**x**`");
        QTest::newRow("link") << QStringLiteral("see [the docs](https://example.com/a)")
                              << QStringLiteral("see [the docs](https://example.com/a)");
        QTest::newRow("autolink") << QStringLiteral("<https://example.com>")
                                  << QStringLiteral("[https://example.com](https://example.com)");
        QTest::newRow("escaped stars") << QStringLiteral("\\*not em\\*") << QStringLiteral("*not em*");
        QTest::newRow("unbalanced strong shows") << QStringLiteral("**bold") << QStringLiteral("**bold");
        QTest::newRow("html stays text") << QStringLiteral("<b>x</b>") << QStringLiteral("<b>x</b>");

        // Line breaks inside a paragraph
        QTest::newRow("line breaks kept") << QStringLiteral("one\ntwo\nthree") << QStringLiteral("one⏎two⏎three");
        QTest::newRow("CRLF line break") << QStringLiteral("one\r\ntwo") << QStringLiteral("one⏎two");
        QTest::newRow("blank line kept") << QStringLiteral("one\n\ntwo") << QStringLiteral("one⏎⏎two");
        QTest::newRow("emphasis across a line break") << QStringLiteral("*one\ntwo*") << QStringLiteral("_one_⏎_two_");
        QTest::newRow("backslash at line end") << QStringLiteral("a\\\nb") << QStringLiteral("a\\⏎b");

        // Block syntax is text here: the block parser has already decided what each line is.
        QTest::newRow("heading marker") << QStringLiteral("# not a heading") << QStringLiteral("# not a heading");
        QTest::newRow("quote marker") << QStringLiteral("> quoted") << QStringLiteral("> quoted");
        QTest::newRow("bullet marker") << QStringLiteral("- item *x*") << QStringLiteral("- item _x_");
        QTest::newRow("star bullet marker") << QStringLiteral("* item") << QStringLiteral("* item");
        QTest::newRow("numbered marker") << QStringLiteral("1. item") << QStringLiteral("1. item");
        QTest::newRow("parenthesis marker") << QStringLiteral("2) item") << QStringLiteral("2) item");
        QTest::newRow("setext underline") << QStringLiteral("Title\n===") << QStringLiteral("Title⏎===");
        QTest::newRow("dash underline") << QStringLiteral("Title\n---") << QStringLiteral("Title⏎---");
        QTest::newRow("spaced rule") << QStringLiteral("* * *") << QStringLiteral("* * *");
        QTest::newRow("underscore rule") << QStringLiteral("___") << QStringLiteral("___");
        QTest::newRow("fence") << QStringLiteral("```js") << QStringLiteral("```js");
        QTest::newRow("link definition") << QStringLiteral("[id]: https://example.com")
                                         << QStringLiteral("[id]: https://example.com");
        QTest::newRow("leading spaces kept") << QStringLiteral("  two in") << QStringLiteral("  two in");
        QTest::newRow("four spaces are no code") << QStringLiteral("    four in") << QStringLiteral("    four in");

        // Images are never loaded: the alternative text stands in for them.
        QTest::newRow("image") << QStringLiteral("a ![cat](file:///dev/zero) b") << QStringLiteral("a cat b");

        // Text the reader would render as nothing comes back as written.
        QTest::newRow("empty link falls back")
            << QStringLiteral("[](https://example.com)") << QStringLiteral("[](https://example.com)");
        QTest::newRow("fallback keeps line breaks") << QStringLiteral("[](a)\n[](b)") << QStringLiteral("[](a)⏎[](b)");
        QTest::newRow("empty") << QString() << QString();
    }

    void styles()
    {
        QFETCH(QString, text);
        QFETCH(QString, styled);
        QCOMPARE(describe(MarkdownText::inlineText(text)), styled);
    }

    void linkKeepsItsTitle()
    {
        QTextDocument document;
        QTextCursor(&document).insertFragment(
            MarkdownText::inlineText(QStringLiteral("[x](https://a.example \"Site\")")));
        const QTextCharFormat format = document.begin().begin().fragment().charFormat();
        QCOMPARE(format.anchorHref(), QStringLiteral("https://a.example"));
        QCOMPARE(format.toolTip(), QStringLiteral("Site"));
    }

    // What the view does with a link the model wrote: only safe targets get opened.
    void linksFromAnswersAreCheckedBeforeOpening_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("opens");
        QTest::newRow("web") << QStringLiteral("[x](https://example.com)") << true;
        QTest::newRow("own scheme") << QStringLiteral("[x](halvora://auth?code=1&state=2)") << false;
        QTest::newRow("script") << QStringLiteral("[x](javascript:alert(1))") << false;
        QTest::newRow("relative") << QStringLiteral("[x](../secret)") << false;
    }

    void linksFromAnswersAreCheckedBeforeOpening()
    {
        QFETCH(QString, text);
        QFETCH(bool, opens);
        QTextDocument document;
        QTextCursor(&document).insertFragment(MarkdownText::inlineText(text));
        const QTextCharFormat format = document.begin().begin().fragment().charFormat();
        QVERIFY(format.isAnchor());
        QCOMPARE(MarkdownText::canOpenLink(QUrl(format.anchorHref())), opens);
    }
};

QTEST_MAIN(TestInlineMarkdown)
#include "tst_inlinemarkdown.moc"
