#include "history/HistoryStore.h"

#include <QTest>

class TestHistoryTitle : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void title_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("limit");
        QTest::addColumn<QString>("title");
        const QString seventy(70, QLatin1Char('x'));
        const QString family = QStringLiteral("👨‍👩‍👧");
        QTest::newRow("first non-empty line, trimmed")
            << "\n\n  Fix the report  \nsecond line\nthird" << 70 << "Fix the report";
        QTest::newRow("80 characters") << QString(80, QLatin1Char('x')) << 70 << QString(69, QLatin1Char('x')) + "…";
        QTest::newRow("exactly 70") << seventy << 70 << seventy;
        QTest::newRow("empty") << "" << 70 << "";
        QTest::newRow("only newlines kept whole") << "\n\r\n" << 70 << "\n\r\n";
        QTest::newRow("other line breaks") << "\u2028\u0085one\u2029two\vthree" << 70 << "one";
        QTest::newRow("unicode spaces trimmed, inner kept") << "\u00a0\t\u3000a\u2003b\u202f" << 70 << "a\u2003b";
        QTest::newRow("emoji count as one") << family.repeated(5) << 5 << family.repeated(5);
        QTest::newRow("emoji cut whole") << family.repeated(6) << 5 << family.repeated(4) + "…";
        QTest::newRow("flags cut whole") << "🇫🇷🇩🇪🇮🇹" << 2 << "🇫🇷…";
        QTest::newRow("combining marks stay") << "e\u0301e\u0301e\u0301e\u0301" << 3 << "e\u0301e\u0301…";
        QTest::newRow("limit 0 taken as 1") << "ab" << 0 << "…";
    }

    void title()
    {
        QFETCH(QString, text);
        QFETCH(int, limit);
        QTEST(HistoryStore::title(text, limit), "title");
    }
};

QTEST_GUILESS_MAIN(TestHistoryTitle)
#include "tst_historytitle.moc"
