#include "common/Timings.h"

#include <QTest>

// Reading a process's start time from its /proc stat line, where the process name may hold
// the very characters the line is split on.
class TestTimings : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void startTicks_data()
    {
        QTest::addColumn<QByteArray>("stat");
        QTest::addColumn<qint64>("ticks");
        const QByteArray tail = " S 1 4242 4242 0 -1 4194560 2717 0 0 0 5 3 0 0 20 0 7 0 123456 918765568 9933";
        QTest::newRow("plain name") << "4242 (halvora)" + tail << qint64(123456);
        QTest::newRow("name with spaces") << "4242 (my halvora 2)" + tail << qint64(123456);
        QTest::newRow("name with a parenthesis and digits") << "4242 (a) 1 2 (b)" + tail << qint64(123456);
        QTest::newRow("trailing newline") << "4242 (halvora)" + tail + "\n" << qint64(123456);
        QTest::newRow("line cut short") << QByteArray("4242 (halvora) S 1 4242") << qint64(-1);
        QTest::newRow("no name") << QByteArray("4242 halvora S 1") << qint64(-1);
        QTest::newRow("not a number") << "4242 (halvora)" + QByteArray(tail).replace("123456", "12x") << qint64(-1);
        QTest::newRow("empty") << QByteArray() << qint64(-1);
    }

    void startTicks()
    {
        QFETCH(QByteArray, stat);
        QFETCH(qint64, ticks);
        QCOMPARE(Timings::startTicksFromStat(stat).value_or(-1), ticks);
    }

    // The running test's own start lies in the past and not long before now.
    void ownProcessStart()
    {
        const std::optional<qint64> start = Timings::processStartMs();
        QVERIFY(start);
        QVERIFY(*start <= Timings::nowMs());
        QVERIFY(Timings::nowMs() - *start < 10 * 60 * 1000);
    }
};

QTEST_GUILESS_MAIN(TestTimings)
#include "tst_timings.moc"
