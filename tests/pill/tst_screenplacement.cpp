#include "pill/ScreenPlacement.h"
#include "support/TestRows.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>

using Displays = ScreenPlacement::Displays;
Q_DECLARE_METATYPE(std::optional<QRectF>)

namespace {
// One 1440 × 900 screen whose visible frame leaves 25 points for a top panel.
const Displays laptop{{{QRectF(0, 0, 1440, 900), QRectF(0, 0, 1440, 875)}}, std::nullopt};
// The same screen with a second one to its right; the main screen is the second one.
const Displays twoScreens{
    {{QRectF(0, 0, 1440, 900), QRectF(0, 0, 1440, 875)}, {QRectF(1440, 0, 1920, 1080), QRectF(1440, 40, 1920, 1040)}},
    ScreenInfo{QRectF(1440, 0, 1920, 1080), QRectF(1440, 40, 1920, 1040)}};
} // namespace

class TestScreenPlacement : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pill_data()
    {
        QTest::addColumn<std::optional<QRectF>>("rect");
        QTest::addColumn<QPointF>("mouse");
        QTest::addColumn<QPointF>("origin");
        const std::optional<QRectF> none;
        addRow("above the selection", std::optional(QRectF(100, 500, 200, 20)), QPointF(), QPointF(100, 528));
        addRow("no room above: below", std::optional(QRectF(100, 830, 200, 20)), QPointF(), QPointF(100, 786));
        addRow("far right: clamped", std::optional(QRectF(1300, 500, 100, 20)), QPointF(), QPointF(1136, 528));
        addRow("far left: clamped", std::optional(QRectF(-50, 500, 100, 20)), QPointF(), QPointF(4, 528));
        addRow("no rect: above the mouse", none, QPointF(700, 400), QPointF(550, 424));
        addRow("bottom edge: kept inside", std::optional(QRectF(100, -100, 50, 20)), QPointF(), QPointF(100, 4));
    }
    void pill()
    {
        QFETCH(std::optional<QRectF>, rect);
        QFETCH(QPointF, mouse);
        QTEST(ScreenPlacement::pillOrigin(QSizeF(300, 36), rect, mouse, laptop), "origin");
    }

    void result_data()
    {
        QTest::addColumn<std::optional<QRectF>>("rect");
        QTest::addColumn<QPointF>("mouse");
        QTest::addColumn<QPointF>("origin");
        const std::optional<QRectF> none;
        addRow("hangs below", std::optional(QRectF(100, 600, 200, 20)), QPointF(), QPointF(100, 108));
        addRow("near the bottom: above", std::optional(QRectF(100, 100, 200, 20)), QPointF(), QPointF(100, 132));
        addRow("far right: 8 inside", std::optional(QRectF(1400, 600, 20, 20)), QPointF(),
               QPointF(1440 - 440 - 8, 108));
        addRow("no rect: below the mouse", none, QPointF(300, 700), QPointF(300, 208));
        addRow("just above the bottom: 8 inside", std::optional(QRectF(100, 495, 20, 20)), QPointF(), QPointF(100, 8));
    }
    void result()
    {
        QFETCH(std::optional<QRectF>, rect);
        QFETCH(QPointF, mouse);
        QTEST(ScreenPlacement::resultOrigin(QSizeF(440, 480), rect, mouse, laptop), "origin");
    }

    void screenChoice_data()
    {
        QTest::addColumn<QPointF>("point");
        QTest::addColumn<QRectF>("visible");
        addRow("first screen", QPointF(10, 10), QRectF(0, 0, 1440, 875));
        addRow("second screen", QPointF(2000, 500), QRectF(1440, 40, 1920, 1040));
        addRow("off every screen: main", QPointF(-500, -500), QRectF(1440, 40, 1920, 1040));
    }
    void screenChoice()
    {
        QFETCH(QPointF, point);
        QFETCH(QRectF, visible);
        QCOMPARE(ScreenPlacement::visibleFrame(point, twoScreens), std::optional(visible));
    }

    void noScreenLeavesTheAnchorRule()
    {
        const QPointF origin = ScreenPlacement::pillOrigin(QSizeF(300, 36), QRectF(100, 500, 200, 20), {}, Displays{});
        QCOMPARE(origin, QPointF(100, 528));
    }

    // The top of the primary screen in Qt is the top of the global frame: y flips around it.
    void qtConversion()
    {
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        const QRectF global(100, 528, 300, 36);
        const QRect qt = ScreenPlacement::toQt(global);
        QCOMPARE(qt, QRect(100, screen.y() + screen.height() - 528 - 36, 300, 36));
        QCOMPARE(ScreenPlacement::fromQt(qt), global);
    }
};

QTEST_MAIN(TestScreenPlacement)
#include "tst_screenplacement.moc"
