#include "ui/Theme.h"

#include <QTest>

class TestTheme : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void palette_data()
    {
        QTest::addColumn<Theme::Role>("role");
        QTest::addColumn<QColor>("byName");
        QTest::addColumn<QString>("light");
        QTest::addColumn<QString>("dark");
        QTest::newRow("background") << Theme::Role::Background << Theme::background(true) << "#faf9f5"
                                    << "#262624";
        QTest::newRow("surface") << Theme::Role::Surface << Theme::surface(true) << "#f0eee6"
                                 << "#30302e";
        QTest::newRow("border") << Theme::Role::Border << Theme::border(true) << "#e3e0d5"
                                << "#45443f";
        QTest::newRow("text") << Theme::Role::Text << Theme::text(true) << "#141413"
                              << "#f5f4ef";
        QTest::newRow("secondary text") << Theme::Role::SecondaryText << Theme::secondaryText(true) << "#6b6a64"
                                        << "#a6a49b";
        QTest::newRow("accent") << Theme::Role::Accent << Theme::accent(true) << "#d97757"
                                << "#e08a6d";
    }

    void palette()
    {
        QFETCH(Theme::Role, role);
        QFETCH(QColor, byName);
        QFETCH(QString, light);
        QFETCH(QString, dark);
        const QColor lightColor = Theme::color(role, false);
        const QColor darkColor = Theme::color(role, true);
        QCOMPARE(lightColor.name(), light);
        QCOMPARE(darkColor.name(), dark);
        QCOMPARE(lightColor.alpha(), 255);
        QCOMPARE(darkColor.spec(), QColor::Rgb);
        QCOMPARE(byName, darkColor);
    }

    void appearance_data()
    {
        QTest::addColumn<QColor>("window");
        QTest::addColumn<QColor>("text");
        QTest::addColumn<bool>("dark");
        QTest::newRow("light") << QColor(0xEFEFEF) << QColor(0x202020) << false;
        QTest::newRow("dark") << QColor(0x2A2A2A) << QColor(0xE0E0E0) << true;
        QTest::newRow("high contrast dark") << QColor(Qt::black) << QColor(Qt::white) << true;
        QTest::newRow("high contrast light") << QColor(Qt::white) << QColor(Qt::black) << false;
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
        QCOMPARE(Theme::text(Theme::isDark(palette)).name(),
                 dark ? QStringLiteral("#f5f4ef") : QStringLiteral("#141413"));
    }
};

QTEST_GUILESS_MAIN(TestTheme)
#include "tst_theme.moc"
