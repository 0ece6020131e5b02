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
        QThread* encodedOn = nullptr;
        writer.writeLater([&] {
            encodedOn = QThread::currentThread();
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
        QVERIFY(encodedOn != QThread::currentThread());
        QCOMPARE(contents(path), QByteArray("[\"newer\"]"));
        QCOMPARE(writer.writeCount(), 1);
    }
};

QTEST_GUILESS_MAIN(TestHistoryWriter)
#include "tst_historywriter.moc"
