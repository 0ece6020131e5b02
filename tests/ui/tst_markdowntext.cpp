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
        QTest::newRow("blank lines") << QStringLiteral("\n  \n\t\n") << Blocks{};

        QTest::newRow("heading levels, text trimmed")
            << QStringLiteral("# One\n  ######   Six \t") << Blocks{Block::heading(1, "One"), Block::heading(6, "Six")};
        QTest::newRow("seven hashes") << QStringLiteral("####### Seven") << Blocks{Block::paragraph("####### Seven")};
        QTest::newRow("hash then word or tab")
            << QStringLiteral("#tag\n#\tx\n#") << Blocks{Block::paragraph("#tag\n#\tx\n#")};
        QTest::newRow("heading ends paragraph")
            << QStringLiteral("intro\n## Next\nbody")
            << Blocks{Block::paragraph("intro"), Block::heading(2, "Next"), Block::paragraph("body")};

        QTest::newRow("bullet markers") << QStringLiteral("- a\n* b\n+ c")
                                        << Blocks{Block::bullet("a", 0), Block::bullet("b", 0), Block::bullet("c", 0)};
        QTest::newRow("dash then word") << QStringLiteral("-word\n-") << Blocks{Block::paragraph("-word\n-")};
        QTest::newRow("further spaces kept") << QStringLiteral("-   wide") << Blocks{Block::bullet("  wide", 0)};
        QTest::newRow("indent from leading spaces only")
            << QStringLiteral("  - a\n     - b\n\t\t- c\n  \t  - d")
            << Blocks{Block::bullet("a", 1), Block::bullet("b", 2), Block::bullet("c", 0), Block::bullet("d", 1)};
        QTest::newRow("spaced stars are a bullet") << QStringLiteral("* * *") << Blocks{Block::bullet("* *", 0)};

        QTest::newRow("numbered markers") << QStringLiteral("1. First\n2) Second\n  12.   Twelve\t")
                                          << Blocks{Block::numbered("1.", "First"), Block::numbered("2)", "Second"),
                                                    Block::numbered("12.", "Twelve")};
        QTest::newRow("digits of other scripts")
            << QStringLiteral("٣. ثلاثة\n𝟏. one")
            << Blocks{Block::numbered("٣.", "ثلاثة"), Block::numbered("𝟏.", "one")};
        QTest::newRow("not numbered") << QStringLiteral("3.14 is pi\na1. x\n1.\nVersion 2. Out")
                                      << Blocks{Block::paragraph("3.14 is pi\na1. x\n1.\nVersion 2. Out")};

        QTest::newRow("fenced code: language ignored, lines as they are")
            << QStringLiteral("```python\ndef f():\n\n    return 1  \n```")
            << Blocks{Block::code("def f():\n\n    return 1  ")};
        QTest::newRow("markdown inside code stays code") << QStringLiteral("```\n# no heading\n- no bullet\n```")
                                                         << Blocks{Block::code("# no heading\n- no bullet")};
        QTest::newRow("never closed, blank lines included")
            << QStringLiteral("text\n```\na\n\nb") << Blocks{Block::paragraph("text"), Block::code("a\n\nb")};
        QTest::newRow("fence alone") << QStringLiteral("```") << Blocks{Block::code("")};
        QTest::newRow("indented fences, closing with a word")
            << QStringLiteral("  ```js\nx\n  ```end\nafter") << Blocks{Block::code("x"), Block::paragraph("after")};

        QTest::newRow("lines trimmed, one paragraph")
            << QStringLiteral("  one  \n\ttwo\t") << Blocks{Block::paragraph("one\ntwo")};
        QTest::newRow("blank or whitespace-only line splits")
            << QStringLiteral("one\n\ntwo\n \t\u00A0\nthree")
            << Blocks{Block::paragraph("one"), Block::paragraph("two"), Block::paragraph("three")};
        QTest::newRow("rules split and draw nothing")
            << QStringLiteral("one\n---\ntwo\n***") << Blocks{Block::paragraph("one"), Block::paragraph("two")};
        QTest::newRow("four dashes are text") << QStringLiteral("----") << Blocks{Block::paragraph("----")};

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

    // Parsing a growing text from the last checkpoint of the shorter one gives, at every step,
    // exactly the blocks of a parse from scratch.
    void parseFromCheckpoint_data()
    {
        QTest::addColumn<QString>("markdown");
        QTest::addColumn<int>("step");
        const QString mixed = QStringLiteral("# Plan\n\nFirst **line**\nsecond line\n\n- one\n  - two\n1. three\n"
                                             "---\nafter the rule\n```cpp\nint x;\n\n# not a heading\n```\ntail");
        QTest::newRow("mixed, 1 character a step") << mixed << 1;
        QTest::newRow("mixed, 7 characters a step") << mixed << 7;
        QTest::newRow("CRLF split between steps") << QStringLiteral("a\r\n\r\n- b\r\n\r\nc\r\n") << 1;
        QTest::newRow("paragraph becomes a list item") << QStringLiteral("x\n\n-\n- item\n-x\n\n1.\n1. y") << 1;
        QTest::newRow("fence opened late, never closed") << QStringLiteral("p\n\n``\n```\n\ncode\n\nmore") << 2;
    }
    void parseFromCheckpoint()
    {
        QFETCH(QString, markdown);
        QFETCH(int, step);
        Blocks blocks;
        MarkdownText::Checkpoint checkpoint;
        for (qsizetype end = 0; end < markdown.size() + step; end += step) {
            const QString prefix = markdown.left(end);
            const MarkdownText::Checkpoint from = checkpoint;
            QVERIFY(from.blockCount <= blocks.size());
            blocks.resize(from.blockCount);
            blocks.append(MarkdownText::parse(prefix, from, &checkpoint));
            QCOMPARE(blocks, MarkdownText::parse(prefix));
            QVERIFY(checkpoint.offset >= from.offset && checkpoint.offset <= prefix.size());
        }
    }

    void equality_data()
    {
        QTest::addColumn<Block>("a");
        QTest::addColumn<Block>("b");
        QTest::addColumn<bool>("equal");
        QTest::newRow("same") << Block::heading(2, "x") << Block::heading(2, "x") << true;
        QTest::newRow("level") << Block::heading(1, "x") << Block::heading(2, "x") << false;
        QTest::newRow("indent") << Block::bullet("x", 0) << Block::bullet("x", 1) << false;
        QTest::newRow("marker") << Block::numbered("1.", "x") << Block::numbered("1)", "x") << false;
        QTest::newRow("kind") << Block::code("x") << Block::paragraph("x") << false;
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
        QTest::newRow("https, upper-case") << QStringLiteral("HTTPS://example.com/a?b=c#d") << true;
        QTest::newRow("mailto") << QStringLiteral("mailto:someone@example.com") << true;
        QTest::newRow("own scheme") << QStringLiteral("halvora://auth?code=abc&state=def") << false;
        QTest::newRow("javascript") << QStringLiteral("javascript:alert(1)") << false;
        QTest::newRow("file") << QStringLiteral("file:///etc/passwd") << false;
        QTest::newRow("data") << QStringLiteral("data:text/html,<b>x</b>") << false;
        QTest::newRow("relative") << QStringLiteral("docs/page.html") << false;
        QTest::newRow("scheme-relative") << QStringLiteral("//example.com/page") << false;
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
