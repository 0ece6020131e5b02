#include "ui/MarkdownText.h"

#include <QSet>
#include <QTest>

using Block = MarkdownText::Block;
using Blocks = QList<Block>;

Q_DECLARE_METATYPE(MarkdownText::Block)

char* toString(const MarkdownText::Block& block)
{
    static const char* const kinds[] = {"heading", "bullet", "numbered", "code", "paragraph"};
    const QString text = QStringLiteral("%1(level %2, marker \"%3\", \"%4\")")
                             .arg(QLatin1String(kinds[int(block.kind)]))
                             .arg(block.level)
                             .arg(block.marker, block.text);
    return QTest::toString(text);
}

class TestMarkdownText : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void parse_data()
    {
        QTest::addColumn<QString>("markdown");
        QTest::addColumn<Blocks>("blocks");

        QTest::newRow("empty") << QString() << Blocks{};
        QTest::newRow("only blank lines") << QStringLiteral("\n  \n\t\n") << Blocks{};

        // Headings
        QTest::newRow("level 1") << QStringLiteral("# Title") << Blocks{Block::heading(1, "Title")};
        QTest::newRow("level 6") << QStringLiteral("###### Six") << Blocks{Block::heading(6, "Six")};
        QTest::newRow("seven hashes") << QStringLiteral("####### Seven") << Blocks{Block::paragraph("####### Seven")};
        QTest::newRow("hash then word") << QStringLiteral("#tag") << Blocks{Block::paragraph("#tag")};
        QTest::newRow("hash alone") << QStringLiteral("#") << Blocks{Block::paragraph("#")};
        QTest::newRow("hash then tab") << QStringLiteral("#\tword") << Blocks{Block::paragraph("#\tword")};
        QTest::newRow("heading text trimmed")
            << QStringLiteral("  ##   Spaced \t") << Blocks{Block::heading(2, "Spaced")};
        QTest::newRow("heading ends paragraph")
            << QStringLiteral("intro\n## Next\nbody")
            << Blocks{Block::paragraph("intro"), Block::heading(2, "Next"), Block::paragraph("body")};

        // Bullets
        QTest::newRow("dash") << QStringLiteral("- one") << Blocks{Block::bullet("one", 0)};
        QTest::newRow("star") << QStringLiteral("* two") << Blocks{Block::bullet("two", 0)};
        QTest::newRow("plus") << QStringLiteral("+ three") << Blocks{Block::bullet("three", 0)};
        QTest::newRow("dash then word") << QStringLiteral("-word") << Blocks{Block::paragraph("-word")};
        QTest::newRow("dash alone") << QStringLiteral("-") << Blocks{Block::paragraph("-")};
        QTest::newRow("further spaces kept") << QStringLiteral("-   wide") << Blocks{Block::bullet("  wide", 0)};
        QTest::newRow("two spaces: indent 1") << QStringLiteral("  - a") << Blocks{Block::bullet("a", 1)};
        QTest::newRow("five spaces: indent 2") << QStringLiteral("     - b") << Blocks{Block::bullet("b", 2)};
        QTest::newRow("tabs do not count") << QStringLiteral("\t\t- c") << Blocks{Block::bullet("c", 0)};
        QTest::newRow("spaces before a tab count") << QStringLiteral("  \t  - d") << Blocks{Block::bullet("d", 1)};
        QTest::newRow("spaced stars are a bullet") << QStringLiteral("* * *") << Blocks{Block::bullet("* *", 0)};
        QTest::newRow("nested list") << QStringLiteral("- top\n  - middle\n    - bottom")
                                     << Blocks{Block::bullet("top", 0), Block::bullet("middle", 1),
                                               Block::bullet("bottom", 2)};

        // Numbered items
        QTest::newRow("1 dot") << QStringLiteral("1. First") << Blocks{Block::numbered("1.", "First")};
        QTest::newRow("2 parenthesis") << QStringLiteral("2) Second") << Blocks{Block::numbered("2)", "Second")};
        QTest::newRow("several digits, text trimmed")
            << QStringLiteral("  12.   Twelve\t") << Blocks{Block::numbered("12.", "Twelve")};
        QTest::newRow("other script digits") << QStringLiteral("٣. ثلاثة") << Blocks{Block::numbered("٣.", "ثلاثة")};
        QTest::newRow("digits beyond the BMP") << QStringLiteral("𝟏. one") << Blocks{Block::numbered("𝟏.", "one")};
        QTest::newRow("decimal number") << QStringLiteral("3.14 is pi") << Blocks{Block::paragraph("3.14 is pi")};
        QTest::newRow("letter before digits") << QStringLiteral("a1. x") << Blocks{Block::paragraph("a1. x")};
        QTest::newRow("marker alone") << QStringLiteral("1.") << Blocks{Block::paragraph("1.")};
        QTest::newRow("no digits") << QStringLiteral(". x") << Blocks{Block::paragraph(". x")};
        QTest::newRow("later dot does not count")
            << QStringLiteral("Version 2. Released") << Blocks{Block::paragraph("Version 2. Released")};

        // Code fences
        QTest::newRow("fenced code") << QStringLiteral("```\nlet x = 1\n```") << Blocks{Block::code("let x = 1")};
        QTest::newRow("language ignored, lines kept as they are")
            << QStringLiteral("```python\ndef f():\n\n    return 1  \n```")
            << Blocks{Block::code("def f():\n\n    return 1  ")};
        QTest::newRow("markdown inside code stays code") << QStringLiteral("```\n# not a heading\n- not a bullet\n```")
                                                         << Blocks{Block::code("# not a heading\n- not a bullet")};
        QTest::newRow("never closed, blank lines included")
            << QStringLiteral("text\n```\na\n\nb") << Blocks{Block::paragraph("text"), Block::code("a\n\nb")};
        QTest::newRow("fence alone") << QStringLiteral("```") << Blocks{Block::code("")};
        QTest::newRow("empty code block") << QStringLiteral("```\n```") << Blocks{Block::code("")};
        QTest::newRow("indented fences, closing with a word")
            << QStringLiteral("  ```js\nx\n  ```end\nafter") << Blocks{Block::code("x"), Block::paragraph("after")};

        // Paragraphs and rules
        QTest::newRow("two lines, one paragraph") << QStringLiteral("one\ntwo") << Blocks{Block::paragraph("one\ntwo")};
        QTest::newRow("lines trimmed") << QStringLiteral("  one  \n\ttwo\t") << Blocks{Block::paragraph("one\ntwo")};
        QTest::newRow("blank line splits")
            << QStringLiteral("one\n\ntwo") << Blocks{Block::paragraph("one"), Block::paragraph("two")};
        QTest::newRow("whitespace-only line splits")
            << QStringLiteral("one\n \t\u00A0\ntwo") << Blocks{Block::paragraph("one"), Block::paragraph("two")};
        QTest::newRow("dash rule splits, draws nothing")
            << QStringLiteral("one\n---\ntwo") << Blocks{Block::paragraph("one"), Block::paragraph("two")};
        QTest::newRow("star rule") << QStringLiteral("one\n***") << Blocks{Block::paragraph("one")};
        QTest::newRow("four dashes are text") << QStringLiteral("----") << Blocks{Block::paragraph("----")};
        QTest::newRow("unbalanced strong is text") << QStringLiteral("**bold") << Blocks{Block::paragraph("**bold")};

        // Line endings
        QTest::newRow("CRLF")
            << QStringLiteral("# Title\r\n\r\nOne\r\nTwo\r\n\r\n- item\r\n1. first\r\n---\r\n```\r\ncode\r\n```\r\n")
            << Blocks{Block::heading(1, "Title"), Block::paragraph("One\nTwo"), Block::bullet("item", 0),
                      Block::numbered("1.", "first"), Block::code("code")};
        QTest::newRow("CR cut off at the end") << QStringLiteral("- item\r") << Blocks{Block::bullet("item", 0)};
        QTest::newRow("lone CR stays in the line") << QStringLiteral("a\rb") << Blocks{Block::paragraph("a\rb")};
    }

    void parse()
    {
        QFETCH(QString, markdown);
        QFETCH(Blocks, blocks);
        QCOMPARE(MarkdownText::parse(markdown), blocks);
    }

    // A streamed answer is parsed again at every step; no prefix may throw it off.
    void everyPrefixOfAnAnswerParses()
    {
        const QString answer = QStringLiteral("# Plan\n\nIntro line\nsecond line\n\n1. Step\n  - detail\n"
                                              "```sh\nls -l\n\n```\nDone.\n");
        for (qsizetype n = 0; n <= answer.size(); ++n) {
            const Blocks blocks = MarkdownText::parse(QStringView(answer).first(n));
            for (const Block& block : blocks)
                QVERIFY(block.kind == Block::Kind::Code || !block.text.isEmpty());
        }
        QCOMPARE(MarkdownText::parse(answer).size(), 6);
    }

    void equality_data()
    {
        QTest::addColumn<Block>("a");
        QTest::addColumn<Block>("b");
        QTest::addColumn<bool>("equal");
        QTest::newRow("same heading") << Block::heading(2, "x") << Block::heading(2, "x") << true;
        QTest::newRow("heading level") << Block::heading(1, "x") << Block::heading(2, "x") << false;
        QTest::newRow("heading text") << Block::heading(1, "x") << Block::heading(1, "y") << false;
        QTest::newRow("bullet indent") << Block::bullet("x", 0) << Block::bullet("x", 1) << false;
        QTest::newRow("numbered marker") << Block::numbered("1.", "x") << Block::numbered("1)", "x") << false;
        QTest::newRow("code vs paragraph") << Block::code("x") << Block::paragraph("x") << false;
        QTest::newRow("heading 0 is no paragraph") << Block::heading(0, "x") << Block::paragraph("x") << false;
        QTest::newRow("bullet vs numbered") << Block::bullet("x", 0) << Block::numbered("", "x") << false;
    }

    void equality()
    {
        QFETCH(Block, a);
        QFETCH(Block, b);
        QFETCH(bool, equal);
        QCOMPARE(a == b, equal);
        QCOMPARE(QSet<Block>({a, b}).size(), equal ? 1 : 2);
        if (equal)
            QCOMPARE(qHash(a), qHash(b));
    }

    void canOpenLink_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<bool>("allowed");
        QTest::newRow("http") << QStringLiteral("http://example.com/page") << true;
        QTest::newRow("https") << QStringLiteral("https://example.com/a?b=c#d") << true;
        QTest::newRow("upper-case scheme") << QStringLiteral("HTTPS://example.com") << true;
        QTest::newRow("mailto") << QStringLiteral("mailto:someone@example.com") << true;
        QTest::newRow("own scheme") << QStringLiteral("halvora://auth?code=abc&state=def") << false;
        QTest::newRow("own scheme, open") << QStringLiteral("halvora://open") << false;
        QTest::newRow("javascript") << QStringLiteral("javascript:alert(1)") << false;
        QTest::newRow("file") << QStringLiteral("file:///etc/passwd") << false;
        QTest::newRow("data") << QStringLiteral("data:text/html,<b>x</b>") << false;
        QTest::newRow("ftp") << QStringLiteral("ftp://example.com/file") << false;
        QTest::newRow("relative path") << QStringLiteral("docs/page.html") << false;
        QTest::newRow("scheme-relative") << QStringLiteral("//example.com/page") << false;
        QTest::newRow("absolute path") << QStringLiteral("/etc/passwd") << false;
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("http without host") << QStringLiteral("http:page") << false;
        QTest::newRow("mailto without address") << QStringLiteral("mailto:") << false;
    }

    void canOpenLink()
    {
        QFETCH(QString, link);
        QFETCH(bool, allowed);
        QCOMPARE(MarkdownText::canOpenLink(QUrl(link)), allowed);
    }
};

QTEST_GUILESS_MAIN(TestMarkdownText)
#include "tst_markdowntext.moc"
