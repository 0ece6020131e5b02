#include "ui/Theme.h"

#include <QTest>

class TestTheme : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void palette_data()
    {
        QTest::addColumn<QColor>("light");
        QTest::addColumn<QColor>("dark");
        QTest::addColumn<QString>("values");
        QTest::newRow("background") << Theme::background(false) << Theme::background(true) << "#faf9f5 #262624";
        QTest::newRow("surface") << Theme::surface(false) << Theme::surface(true) << "#f0eee6 #30302e";
        QTest::newRow("border") << Theme::border(false) << Theme::border(true) << "#e3e0d5 #45443f";
        QTest::newRow("text") << Theme::text(false) << Theme::color(Theme::Role::Text, true) << "#141413 #f5f4ef";
        QTest::newRow("secondary text") << Theme::secondaryText(false) << Theme::secondaryText(true)
                                        << "#6b6a64 #a6a49b";
        QTest::newRow("accent") << Theme::accent(false) << Theme::accent(true) << "#d97757 #e08a6d";
    }

    void palette()
    {
        QFETCH(QColor, light);
        QFETCH(QColor, dark);
        QFETCH(QString, values);
        QCOMPARE(light.name() + u' ' + dark.name(), values);
        QCOMPARE(light.alpha(), 255);
    }

    void appearance_data()
    {
        QTest::addColumn<QColor>("window");
        QTest::addColumn<QColor>("text");
        QTest::addColumn<bool>("dark");
        QTest::newRow("light") << QColor(0xEFEFEF) << QColor(0x202020) << false;
        QTest::newRow("dark") << QColor(0x2A2A2A) << QColor(0xE0E0E0) << true;
        QTest::newRow("high contrast dark") << QColor(Qt::black) << QColor(Qt::white) << true;
        QTest::newRow("neither: light") << QColor(0x808080) << QColor(0x808080) << false;
    }

    void appearance()
    {
        QFETCH(QColor, window);
        QFETCH(QColor, text);
        QFETCH(bool, dark);
        QPalette palette;
        palette.setColor(QPalette::Window, window);
        palette.setColor(QPalette::WindowText, text);
        QCOMPARE(Theme::isDark(palette), dark);
    }
};

QTEST_GUILESS_MAIN(TestTheme)
#include "tst_theme.moc"
