#include "ui/Theme.h"

#include <QTest>

class TestTheme : public QObject {
    Q_OBJECT

private Q_SLOTS:
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
        QPalette palette;
        palette.setColor(QPalette::Window, window);
        palette.setColor(QPalette::WindowText, text);
        QTEST(Theme::isDark(palette), "dark");
    }
};

QTEST_GUILESS_MAIN(TestTheme)
#include "tst_theme.moc"
