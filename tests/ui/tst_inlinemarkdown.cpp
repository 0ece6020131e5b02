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
        QTest::newRow("emphasis") << QStringLiteral("an *odd* _word_") << QStringLiteral("an _odd_ _word_");
        QTest::newRow("strong") << QStringLiteral("**Note:** ***both***") << QStringLiteral("**Note:** **_both_**");
        QTest::newRow("code span") << QStringLiteral("run `ls **x**`") << QStringLiteral("run `ls **x**`");
        QTest::newRow("links") << QStringLiteral("[docs](https://a.example/x) <https://b.example>")
                               << QStringLiteral("[docs](https://a.example/x) [https://b.example](https://b.example)");
        QTest::newRow("unbalanced strong shows") << QStringLiteral("**bold") << QStringLiteral("**bold");
        QTest::newRow("html stays text") << QStringLiteral("<b>x</b>") << QStringLiteral("<b>x</b>");

        QTest::newRow("line breaks kept") << QStringLiteral("one\ntwo\r\nthree") << QStringLiteral("one⏎two⏎three");
        QTest::newRow("blank line kept") << QStringLiteral("one\n\ntwo") << QStringLiteral("one⏎⏎two");
        QTest::newRow("emphasis across a break") << QStringLiteral("*one\ntwo*") << QStringLiteral("_one_⏎_two_");
        QTest::newRow("backslash at line end") << QStringLiteral("a\\\nb") << QStringLiteral("a\\⏎b");

        // Block syntax is text here: the block parser has already decided what each line is.
        QTest::newRow("heading and quote markers") << QStringLiteral("# *no*\n> no") << QStringLiteral("# _no_⏎> no");
        QTest::newRow("list markers") << QStringLiteral("- *x*\n* y\n1. z\n2) w")
                                      << QStringLiteral("- _x_⏎* y⏎1. z⏎2) w");
        QTest::newRow("underlines and rules")
            << QStringLiteral("*Title*\n===\n---\n* * *\n___") << QStringLiteral("_Title_⏎===⏎---⏎* * *⏎___");
        QTest::newRow("fence") << QStringLiteral("```js *x*") << QStringLiteral("```js _x_");
        QTest::newRow("link definition") << QStringLiteral("[id]: https://a.example\n*x*")
                                         << QStringLiteral("[id]: https://a.example⏎_x_");
        QTest::newRow("leading spaces kept, no code block")
            << QStringLiteral("    *four*") << QStringLiteral("    _four_");

        // Images are never loaded: the alternative text stands in for them.
        QTest::newRow("image") << QStringLiteral("a ![cat](file:///dev/zero) b") << QStringLiteral("a cat b");

        // A long paragraph is put together from many styled pieces; every piece keeps its own style.
        QString many;
        QString manyStyled;
        for (int i = 0; i < 400; ++i) {
            many += QStringLiteral("*a%1* `b` [c](https://x.example/%1) ").arg(i);
            manyStyled += QStringLiteral("_a%1_ `b` [c](https://x.example/%1) ").arg(i);
        }
        QTest::newRow("many pieces") << many.trimmed() << manyStyled.trimmed();

        // Text the reader would render as nothing comes back as written.
        QTest::newRow("fallback, breaks kept") << QStringLiteral("[](a)\n[](b)") << QStringLiteral("[](a)⏎[](b)");
    }

    void styles()
    {
        QFETCH(QString, text);
        QFETCH(QString, styled);
        QCOMPARE(describe(MarkdownText::inlineText(text)), styled);
    }
};

QTEST_MAIN(TestInlineMarkdown)
#include "tst_inlinemarkdown.moc"
