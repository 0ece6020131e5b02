#include "platform/Clock.h"
#include "platform/fake/FakeClock.h"

#include <QSignalSpy>
#include <QTest>

class TestTaskHandle : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fakeClockRunsDueWorkInOrder()
    {
        FakeClock clock;
        QStringList ran;
        TaskHandle late = clock.after(250, [&] { ran << QStringLiteral("late"); });
        TaskHandle early = clock.after(150, [&] { ran << QStringLiteral("early"); });
        TaskHandle cancelled = clock.after(100, [&] { ran << QStringLiteral("cancelled"); });
        cancelled.cancel();
        clock.advance(149);
        QVERIFY(ran.isEmpty());
        QVERIFY(early.isActive());
        clock.advance(101);
        QCOMPARE(ran, (QStringList{QStringLiteral("early"), QStringLiteral("late")}));
        QVERIFY(!early.isActive());
        QCOMPARE(clock.monotonicMs(), 250);
    }

    void destroyingOrReplacingTheHandleCancels()
    {
        FakeClock clock;
        int runs = 0;
        {
            TaskHandle dropped = clock.after(10, [&] { ++runs; });
        }
        TaskHandle handle = clock.after(10, [&] { runs += 10; });
        handle = clock.after(20, [&] { runs += 100; });
        clock.advance(30);
        QCOMPARE(runs, 100);
        QCOMPARE(clock.pendingCount(), 0);
    }

    void workScheduledWhileAdvancingRunsIfDue()
    {
        FakeClock clock;
        TaskHandle inner;
        int runs = 0;
        TaskHandle outer = clock.after(10, [&] { inner = clock.after(5, [&] { ++runs; }); });
        clock.advance(14);
        QCOMPARE(runs, 0);
        clock.advance(1);
        QCOMPARE(runs, 1);
    }

    void cancellationCleanupRunsOnceAndNotAfterFinish()
    {
        std::shared_ptr<CancelToken> token;
        int cleanups = 0;
        {
            TaskHandle handle = TaskHandle::create(&token);
            token->onCancel([&] { ++cleanups; });
            handle.cancel();
            handle.cancel();
        }
        QCOMPARE(cleanups, 1);
        QVERIFY(token->isCancelled());
        token->onCancel([&] { ++cleanups; });
        QCOMPARE(cleanups, 2);

        std::shared_ptr<CancelToken> done;
        TaskHandle finished = TaskHandle::create(&done);
        done->onCancel([&] { ++cleanups; });
        done->finish();
        finished.cancel();
        QCOMPARE(cleanups, 2);
    }

    void systemClockRunsOnTheEventLoopAndHonoursCancel()
    {
        int runs = 0;
        TaskHandle kept = Clock::system().after(5, [&] { ++runs; });
        TaskHandle stopped = Clock::system().after(5, [&] { runs += 10; });
        stopped.cancel();
        QTRY_COMPARE(runs, 1);
        QTest::qWait(20);
        QCOMPARE(runs, 1);
    }
};

QTEST_GUILESS_MAIN(TestTaskHandle)
#include "tst_taskhandle.moc"
