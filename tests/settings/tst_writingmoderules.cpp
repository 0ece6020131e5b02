#include "settings/WritingModeRules.h"
#include "settings/WritingModeStore.h"

#include <QTest>
#include <QTextBoundaryFinder>

// Counted independently of the code under test: one step per grapheme boundary.
static int graphemes(const QString& text)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    int count = 0;
    for (qsizetype at = finder.toNextBoundary(); at > 0; at = finder.toNextBoundary())
        ++count;
    return count;
}

class TestWritingModeRules : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void templatesAreAsPublished_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("characters");
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("ellipses");
        QTest::newRow("1") << 0 << "Inclusive language" << 583 << 6 << 0;
        QTest::newRow("2") << 1 << "Person-first language" << 499 << 6 << 0;
        QTest::newRow("3") << 2 << "Plain language" << 262 << 4 << 0;
        QTest::newRow("4") << 3 << "Our brand voice" << 163 << 4 << 2;
    }

    void templatesAreAsPublished()
    {
        QFETCH(int, index);
        QFETCH(QString, name);
        QFETCH(int, characters);
        QFETCH(int, lines);
        QFETCH(int, ellipses);
        QCOMPARE(WritingModeStore::templates().size(), 4);
        const WritingMode mode = WritingModeStore::templates().at(index);
        QCOMPARE(mode.name, name);
        QCOMPARE(graphemes(mode.instructions), characters);
        QCOMPARE(mode.instructions.split(QLatin1Char('\n')).size(), lines);
        QVERIFY(!mode.instructions.endsWith(QLatin1Char('\n')));
        QCOMPARE(mode.instructions.count(QChar(0x2026)), ellipses);
        for (const QChar c : mode.instructions)
            QVERIFY2(c.unicode() < 0x80 || c.unicode() == 0x2026, "plain ASCII quotes and apostrophes");
        QVERIFY(!mode.id.isNull());
    }

    void cutKeepsWholeCharacters_data()
    {
        const QString family = QStringLiteral("\U0001F468\u200D\U0001F469\u200D\U0001F467\u200D\U0001F466");
        const QString flag = QStringLiteral("\U0001F1E9\U0001F1EA");
        const QString accented = QStringLiteral("e\u0301");
        QTest::addColumn<QString>("instructions");
        QTest::addColumn<QString>("stored");
        QTest::newRow("6500 letters") << QString(6500, 'a') << QString(6000, 'a');
        QTest::newRow("family emoji at the cut") << QString(5999, 'a') + family + "tail" << QString(5999, 'a') + family;
        QTest::newRow("flag at the cut") << QString(5999, 'a') + flag + flag << QString(5999, 'a') + flag;
        QTest::newRow("accent at the cut") << QString(5999, 'a') + accented + "b" << QString(5999, 'a') + accented;
        QTest::newRow("emoji everywhere") << family.repeated(6001) << family.repeated(6000);
    }

    void cutKeepsWholeCharacters()
    {
        QFETCH(QString, instructions);
        QFETCH(QString, stored);
        const WritingMode mode{QUuid::createUuid(), QStringLiteral("Long"), instructions};
        QVERIFY(WritingModeRules::canSave(mode));
        QVERIFY(WritingModeRules::isOverLimit(instructions));
        QCOMPARE(WritingModeRules::counterText(instructions),
                 QStringLiteral("%1 of 6000 characters").arg(graphemes(instructions)));
        QCOMPARE(WritingModeRules::normalized(mode)->instructions, stored);
        QCOMPARE(graphemes(stored), 6000);
    }
};

QTEST_GUILESS_MAIN(TestWritingModeRules)
#include "tst_writingmoderules.moc"
