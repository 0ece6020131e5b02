#include "platform/MemoryPreferences.h"
#include "result/ResultPanelSize.h"

#include <QTest>

class TestResultPanelSize : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void read_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QSizeF>("size");
        const QSizeF fallback(440, 480);
        QTest::newRow("remembered") << QVariant("{600, 500}") << QSizeF(600, 500);
        QTest::newRow("exact minimum") << QVariant("{360, 260}") << QSizeF(360, 260);
        QTest::newRow("fractional, loose spaces") << QVariant(" {600.5,500.25} ") << QSizeF(600.5, 500.25);
        QTest::newRow("too narrow") << QVariant("{300, 500}") << fallback;
        QTest::newRow("too short") << QVariant("{600, 259.5}") << fallback;
        QTest::newRow("missing") << QVariant() << fallback;
        QTest::newRow("not a size string") << QVariant("600x500") << fallback;
        QTest::newRow("not a number") << QVariant("{nan, 500}") << fallback;
        QTest::newRow("not a string") << QVariant(600) << fallback;
    }
    void read()
    {
        QFETCH(QVariant, stored);
        MemoryPreferences defaults;
        if (stored.isValid())
            defaults.setValue(ResultPanelSize::key(), stored);
        QTEST(ResultPanelSize::read(defaults), "size");
    }

    void writeReadsBack_data()
    {
        QTest::addColumn<QSizeF>("size");
        QTest::addColumn<QString>("text");
        QTest::newRow("whole points") << QSizeF(600, 500) << "{600, 500}";
        QTest::newRow("fractions") << QSizeF(612.5, 433.25) << "{612.5, 433.25}";
    }
    void writeReadsBack()
    {
        QFETCH(QSizeF, size);
        MemoryPreferences defaults;
        ResultPanelSize::write(defaults, size);
        QTEST(defaults.value(ResultPanelSize::key()).toString(), "text");
        QCOMPARE(ResultPanelSize::read(defaults), size);
    }
};

QTEST_GUILESS_MAIN(TestResultPanelSize)
#include "tst_resultpanelsize.moc"
