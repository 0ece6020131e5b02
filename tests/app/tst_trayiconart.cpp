#include "app/TrayIconArt.h"

#include <QIcon>
#include <QImage>
#include <QTest>

namespace {

// How many pixels of two same-sized pictures differ in coverage (alpha) by more than a half:
// edges smoothed a little differently count for nothing, a shape missing or moved does.
int pixelsApart(const QImage& a, const QImage& b)
{
    int apart = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            apart += std::abs(qAlpha(a.pixel(x, y)) - qAlpha(b.pixel(x, y))) > 128 ? 1 : 0;
    return apart;
}

} // namespace

// The drawn tray icon stands in for the packaged SVG: both must show the same shapes.
class TestTrayIconArt : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void matchesThePackagedDrawing_data()
    {
        QTest::addColumn<int>("size");
        QTest::newRow("16 px") << 16;
        QTest::newRow("22 px, the drawing's own size") << 22;
        QTest::newRow("44 px, twice as dense") << 44;
        QTest::newRow("64 px") << 64;
    }
    void matchesThePackagedDrawing()
    {
        QFETCH(int, size);
        const QImage drawn = TrayIconArt::pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32);
        const QImage packaged = QIcon(QStringLiteral(":/halvora/TrayIcon.svg"))
                                    .pixmap(size, size)
                                    .toImage()
                                    .convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(drawn.size(), QSize(size, size));
        QCOMPARE(packaged.size(), drawn.size());
        QCOMPARE(pixelsApart(drawn, packaged), 0);
        // Black shapes on a transparent ground.
        QCOMPARE(qRed(drawn.pixel(size / 2, size * 23 / 44)) + qAlpha(drawn.pixel(0, 0)), 0);
        QVERIFY(qAlpha(drawn.pixel(size / 2, size * 23 / 44)) > 0);
    }
};

QTEST_MAIN(TestTrayIconArt)
#include "tst_trayiconart.moc"
