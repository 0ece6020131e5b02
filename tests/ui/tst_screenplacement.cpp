#include "support/TestRows.h"
#include "ui/ScreenPlacement.h"

#include <QTest>

using Displays = ScreenPlacement::Displays;
Q_DECLARE_METATYPE(std::optional<QRectF>)

namespace {
// One 1440 × 900 screen with a 25-pixel panel at the top.
const Displays laptop{{{QRectF(0, 0, 1440, 900), QRectF(0, 25, 1440, 875)}}, std::nullopt};

// Layouts of several screens, the primary one first, as X11 places them in the root window.
Displays layout(const QString& name)
{
    if (name == QLatin1String("primary beside a taller screen")) // primary bottom-aligned, not at y = 0
        return {{{QRectF(1080, 1020, 1440, 900), QRectF(1080, 1045, 1440, 875)},
                 {QRectF(0, 0, 1080, 1920), QRectF(0, 0, 1080, 1920)}},
                std::nullopt};
    if (name == QLatin1String("screen left of the primary"))
        return {{{QRectF(1920, 0, 1440, 900), QRectF(1920, 25, 1440, 875)},
                 {QRectF(0, 0, 1920, 1080), QRectF(0, 0, 1920, 1040)}},
                std::nullopt};
    if (name == QLatin1String("primary below another"))
        return {{{QRectF(0, 1080, 1440, 900), QRectF(0, 1105, 1440, 875)},
                 {QRectF(0, 0, 1920, 1080), QRectF(0, 0, 1920, 1080)}},
                std::nullopt};
    // Two screens of different sizes; the main one is the small one.
    const ScreenInfo small{QRectF(2560, 0, 1280, 720), QRectF(2560, 0, 1280, 680)};
    return {{{QRectF(0, 0, 2560, 1440), QRectF(0, 0, 2560, 1440)}, small}, small};
}
} // namespace

class TestScreenPlacement : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pill_data()
    {
        QTest::addColumn<std::optional<QRectF>>("rect");
        QTest::addColumn<QPointF>("cursor");
        QTest::addColumn<QPointF>("origin");
        const std::optional<QRectF> none;
        addRow("above the selection", std::optional(QRectF(100, 500, 200, 20)), QPointF(), QPointF(100, 456));
        addRow("no room above: below", std::optional(QRectF(100, 50, 200, 20)), QPointF(), QPointF(100, 78));
        addRow("far right: clamped", std::optional(QRectF(1300, 500, 100, 20)), QPointF(), QPointF(1136, 456));
        addRow("far left: clamped", std::optional(QRectF(-50, 500, 100, 20)), QPointF(), QPointF(4, 456));
        addRow("no rect: above the pointer", none, QPointF(700, 500), QPointF(550, 440));
        addRow("bottom edge: kept inside", std::optional(QRectF(100, 980, 50, 20)), QPointF(), QPointF(100, 860));
    }
    void pill()
    {
        QFETCH(std::optional<QRectF>, rect);
        QFETCH(QPointF, cursor);
        QTEST(ScreenPlacement::pillOrigin(QSizeF(300, 36), rect, cursor, laptop), "origin");
    }

    void result_data()
    {
        QTest::addColumn<std::optional<QRectF>>("rect");
        QTest::addColumn<QPointF>("cursor");
        QTest::addColumn<double>("height");
        QTest::addColumn<QPointF>("origin");
        const std::optional<QRectF> none;
        const std::optional<QRectF> middle = QRectF(100, 400, 20, 20);
        addRow("hangs below", std::optional(QRectF(100, 280, 200, 20)), QPointF(), 480.0, QPointF(100, 312));
        addRow("near the bottom: above", std::optional(QRectF(100, 780, 200, 20)), QPointF(), 480.0, QPointF(100, 288));
        addRow("far right: 8 inside", std::optional(QRectF(1400, 280, 20, 20)), QPointF(), 480.0,
               QPointF(1440 - 440 - 8, 312));
        addRow("no rect: below the pointer", none, QPointF(300, 200), 480.0, QPointF(300, 212));
        addRow("just fits below: 8 inside", std::optional(QRectF(100, 385, 20, 20)), QPointF(), 480.0,
               QPointF(100, 412));
        addRow("taller than the screen: top edge inside", middle, QPointF(), 1000.0, QPointF(100, 33));
    }
    void result()
    {
        QFETCH(std::optional<QRectF>, rect);
        QFETCH(QPointF, cursor);
        QFETCH(double, height);
        QTEST(ScreenPlacement::resultOrigin(QSizeF(440, height), rect, cursor, laptop), "origin");
    }

    // Each window stays on the selection's screen, inside that screen's available area,
    // wherever the screen lies relative to the primary one.
    void onTheSelectionsScreen_data()
    {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<QRectF>("rect");
        QTest::addColumn<QPointF>("pill");
        QTest::addColumn<QPointF>("result");
        addRow("top of a lowered primary: pill below", QString("primary beside a taller screen"),
               QRectF(1200, 1050, 100, 20), QPointF(1200, 1078), QPointF(1200, 1082));
        addRow("foot of the taller screen", QString("primary beside a taller screen"), QRectF(900, 1880, 150, 20),
               QPointF(776, 1836), QPointF(632, 1388));
        addRow("right edge of the left screen", QString("screen left of the primary"), QRectF(1850, 500, 60, 20),
               QPointF(1616, 456), QPointF(1472, 532));
        addRow("left edge of the primary", QString("screen left of the primary"), QRectF(1900, 500, 60, 20),
               QPointF(1924, 456), QPointF(1928, 33));
        addRow("top of a primary below another", QString("primary below another"), QRectF(50, 1110, 60, 20),
               QPointF(50, 1138), QPointF(50, 1142));
        addRow("corner of the smaller screen", QString("screens of different sizes"), QRectF(3700, 650, 100, 20),
               QPointF(3536, 606), QPointF(3392, 158));
    }
    void onTheSelectionsScreen()
    {
        QFETCH(QString, layout);
        QFETCH(QRectF, rect);
        const Displays displays = ::layout(layout);
        QTEST(ScreenPlacement::pillOrigin(QSizeF(300, 36), rect, QPointF(), displays), "pill");
        QTEST(ScreenPlacement::resultOrigin(QSizeF(440, 480), rect, QPointF(), displays), "result");
    }

    void screenChoice_data()
    {
        QTest::addColumn<QPointF>("point");
        QTest::addColumn<QRectF>("available");
        addRow("first screen", QPointF(10, 10), QRectF(0, 0, 2560, 1440));
        addRow("second screen", QPointF(3000, 500), QRectF(2560, 0, 1280, 680));
        addRow("off every screen: main", QPointF(3000, 1000), QRectF(2560, 0, 1280, 680));
    }
    void screenChoice()
    {
        QFETCH(QPointF, point);
        QFETCH(QRectF, available);
        QCOMPARE(ScreenPlacement::availableGeometry(point, layout(QStringLiteral("screens of different sizes"))),
                 std::optional(available));
    }

    void noScreenLeavesTheAnchorRule()
    {
        const QPointF origin = ScreenPlacement::pillOrigin(QSizeF(300, 36), QRectF(100, 500, 200, 20), {}, Displays{});
        QCOMPARE(origin, QPointF(100, 456));
    }
};

QTEST_MAIN(TestScreenPlacement)
#include "tst_screenplacement.moc"
