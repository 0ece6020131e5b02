// The recording of desktop-wide input on the real X server of the test session.
#include "platform/linux/X11Record.h"

#include <QProcess>
#include <QTest>
#include <memory>

class TestX11Record : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            QSKIP("needs an X11 display (run inside scripts/with-session)");
    }

    void recordedKeysArrive()
    {
        auto seen = std::make_shared<int>(0);
        auto record = X11Record::start([seen](const X11Record::Event&) { ++*seen; });
        QVERIFY(record);
        pressShift(1);
        QVERIFY(QTest::qWaitFor(
            [&] {
                record->process();
                return *seen >= 2;
            },
            5000));
    }

    // Closing reads what the server still sends; the handler's owner is being destroyed then,
    // and nothing may reach it.
    void closingDeliversNothing()
    {
        auto seen = std::make_shared<int>(0);
        auto record = X11Record::start([seen](const X11Record::Event&) { ++*seen; });
        QVERIFY(record);
        pressShift(3);
        QTest::qWait(200);
        record.reset();
        QCOMPARE(*seen, 0);
    }

private:
    static void pressShift(int times)
    {
        for (int i = 0; i < times; ++i)
            QCOMPARE(QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("shift")}), 0);
    }
};

QTEST_GUILESS_MAIN(TestX11Record)
#include "tst_x11record.moc"
