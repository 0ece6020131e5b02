#include "support/TestRows.h"
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

        addRow("empty", QString(), Blocks{});
        addRow("blank lines", QStringLiteral("\n  \n\t\n"), Blocks{});

        addRow("heading levels, text trimmed", QStringLiteral("# One\n  ######   Six \t"),
               Blocks{Block::heading(1, "One"), Block::heading(6, "Six")});
        addRow("seven hashes", QStringLiteral("####### Seven"), Blocks{Block::paragraph("####### Seven")});
        addRow("hash then word or tab", QStringLiteral("#tag\n#\tx\n#"), Blocks{Block::paragraph("#tag\n#\tx\n#")});
        addRow("heading ends paragraph", QStringLiteral("intro\n## Next\nbody"),
               Blocks{Block::paragraph("intro"), Block::heading(2, "Next"), Block::paragraph("body")});

        addRow("bullet markers", QStringLiteral("- a\n* b\n+ c"),
               Blocks{Block::bullet("a", 0), Block::bullet("b", 0), Block::bullet("c", 0)});
        addRow("dash then word", QStringLiteral("-word\n-"), Blocks{Block::paragraph("-word\n-")});
        addRow("further spaces kept", QStringLiteral("-   wide"), Blocks{Block::bullet("  wide", 0)});
        addRow("indent from leading spaces only", QStringLiteral("  - a\n     - b\n\t\t- c\n  \t  - d"),
               Blocks{Block::bullet("a", 1), Block::bullet("b", 2), Block::bullet("c", 0), Block::bullet("d", 1)});
        addRow("spaced stars are a bullet", QStringLiteral("* * *"), Blocks{Block::bullet("* *", 0)});

        addRow(
            "numbered markers", QStringLiteral("1. First\n2) Second\n  12.   Twelve\t"),
            Blocks{Block::numbered("1.", "First"), Block::numbered("2)", "Second"), Block::numbered("12.", "Twelve")});
        addRow("digits of other scripts", QStringLiteral("٣. ثلاثة\n𝟏. one"),
               Blocks{Block::numbered("٣.", "ثلاثة"), Block::numbered("𝟏.", "one")});
        addRow("not numbered", QStringLiteral("3.14 is pi\na1. x\n1.\nVersion 2. Out"),
               Blocks{Block::paragraph("3.14 is pi\na1. x\n1.\nVersion 2. Out")});

        addRow("fenced code: language ignored, lines as they are",
               QStringLiteral("```python\ndef f():\n\n    return 1  \n```"),
               Blocks{Block::code("def f():\n\n    return 1  ")});
        addRow("markdown inside code stays code", QStringLiteral("```\n# no heading\n- no bullet\n```"),
               Blocks{Block::code("# no heading\n- no bullet")});
        addRow("never closed, blank lines included", QStringLiteral("text\n```\na\n\nb"),
               Blocks{Block::paragraph("text"), Block::code("a\n\nb")});
        addRow("fence alone", QStringLiteral("```"), Blocks{Block::code("")});
        addRow("indented fences, closing with a word", QStringLiteral("  ```js\nx\n  ```end\nafter"),
               Blocks{Block::code("x"), Block::paragraph("after")});

        addRow("lines trimmed, one paragraph", QStringLiteral("  one  \n\ttwo\t"),
               Blocks{Block::paragraph("one\ntwo")});
        addRow("blank or whitespace-only line splits", QStringLiteral("one\n\ntwo\n \t\u00A0\nthree"),
               Blocks{Block::paragraph("one"), Block::paragraph("two"), Block::paragraph("three")});
        addRow("rules split and draw nothing", QStringLiteral("one\n---\ntwo\n***"),
               Blocks{Block::paragraph("one"), Block::paragraph("two")});
        addRow("four dashes are text", QStringLiteral("----"), Blocks{Block::paragraph("----")});

        addRow("CRLF",
               QStringLiteral("# Title\r\n\r\nOne\r\nTwo\r\n\r\n- item\r\n1. first\r\n---\r\n```\r\ncode\r\n```\r\n"),
               Blocks{Block::heading(1, "Title"), Block::paragraph("One\nTwo"), Block::bullet("item", 0),
                      Block::numbered("1.", "first"), Block::code("code")});
        addRow("CR cut off at the end", QStringLiteral("- item\r"), Blocks{Block::bullet("item", 0)});
        addRow("lone CR stays in the line", QStringLiteral("a\rb"), Blocks{Block::paragraph("a\rb")});
    }

    void parse()
    {
        QFETCH(QString, markdown);
        QTEST(MarkdownText::parse(markdown), "blocks");
    }

    // Parsing a growing text from the last checkpoint of the shorter one gives, at every step,
    // exactly the blocks of a parse from scratch.
    void parseFromCheckpoint_data()
    {
        QTest::addColumn<QString>("markdown");
        QTest::addColumn<int>("step");
        const QString mixed = QStringLiteral("# Plan\n\nFirst **line**\nsecond line\n\n- one\n  - two\n1. three\n"
                                             "---\nafter the rule\n```cpp\nint x;\n\n# not a heading\n```\ntail");
        addRow("mixed, 1 character a step", mixed, 1);
        addRow("mixed, 7 characters a step", mixed, 7);
        addRow("CRLF split between steps", QStringLiteral("a\r\n\r\n- b\r\n\r\nc\r\n"), 1);
        addRow("paragraph becomes a list item", QStringLiteral("x\n\n-\n- item\n-x\n\n1.\n1. y"), 1);
        addRow("fence opened late, never closed", QStringLiteral("p\n\n``\n```\n\ncode\n\nmore"), 2);
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
        addRow("same", Block::heading(2, "x"), Block::heading(2, "x"), true);
        addRow("level", Block::heading(1, "x"), Block::heading(2, "x"), false);
        addRow("indent", Block::bullet("x", 0), Block::bullet("x", 1), false);
        addRow("marker", Block::numbered("1.", "x"), Block::numbered("1)", "x"), false);
        addRow("kind", Block::code("x"), Block::paragraph("x"), false);
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
};

QTEST_GUILESS_MAIN(TestMarkdownText)
#include "tst_markdowntext.moc"
