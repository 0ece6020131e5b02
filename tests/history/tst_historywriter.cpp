#include "history/HistoryWriter.h"

#include <QFile>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

static QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class TestHistoryWriter : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void olderSnapshotFinishingLateNeverReplacesNewer()
    {
        QTemporaryDir tmp;
        const QString path = tmp.filePath(QStringLiteral("History.json"));
        HistoryWriter writer(path);
        QSemaphore started;
        QSemaphore proceed;
        writer.writeLater([&] {
            started.release();
            proceed.acquire();
            return QByteArray("[\"older\"]");
        });
        const bool encoding = started.tryAcquire(1, 5000);
        // The newer snapshot is written while the older one is still being encoded.
        const bool wroteNewer = writer.writeNow([] { return QByteArray("[\"newer\"]"); });
        proceed.release();
        writer.waitForDone();
        QVERIFY(encoding && wroteNewer);
        QCOMPARE(contents(path), QByteArray("[\"newer\"]"));
        QCOMPARE(writer.writeCount(), 1);
    }

    void queuedSnapshotsCollapseToTheNewest()
    {
        QTemporaryDir tmp;
        const QString path = tmp.filePath(QStringLiteral("History.json"));
        HistoryWriter writer(path);
        QSemaphore started;
        QSemaphore proceed;
        QList<QThread*> threads;
        writer.writeLater([&] {
            started.release();
            proceed.acquire();
            threads.append(QThread::currentThread());
            return QByteArray("1");
        });
        const bool encoding = started.tryAcquire(1, 5000);
        writer.writeLater([&] { return threads.append(nullptr), QByteArray("2"); });
        writer.writeLater([] { return QByteArray("3"); });
        proceed.release();
        writer.waitForDone();
        QVERIFY(encoding);
        QCOMPARE(contents(path), QByteArray("3"));
        // The first was already under way; the second was dropped without being encoded.
        QCOMPARE(threads.size(), 1);
        QVERIFY(threads[0] != QThread::currentThread());
    }
};

QTEST_GUILESS_MAIN(TestHistoryWriter)
#include "tst_historywriter.moc"
