#include "common/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

static int mode(const QString& path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 0777) : -1;
}

class TestSafeFile : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void writesOwnerOnlyFileInPrivateFolder()
    {
        QTemporaryDir tmp;
        const QString path = tmp.filePath(QStringLiteral("a/b/History.json"));
        QVERIFY(SafeFile::writeAtomically(path, "first"));
        QVERIFY(SafeFile::writeAtomically(path, "second"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("second"));
        QCOMPARE(mode(path), 0600);
        QCOMPARE(mode(tmp.filePath(QStringLiteral("a/b"))), 0700);
        // No temporary file is left behind.
        QCOMPARE(QDir(tmp.filePath(QStringLiteral("a/b"))).entryList(QDir::Files).size(), 1);
    }

    void failsWhereTheFolderCannotBeMade()
    {
        QTemporaryDir tmp;
        QFile blocker(tmp.filePath(QStringLiteral("file")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QString error;
        QVERIFY(!SafeFile::writeAtomically(tmp.filePath(QStringLiteral("file/x.json")), "x", &error));
        QVERIFY(!error.isEmpty());
    }

    void movesAsideWithTimestampAndNeverOverwrites()
    {
        QTemporaryDir tmp;
        const QString path = tmp.filePath(QStringLiteral("History.json"));
        const QDateTime when(QDate(2026, 12, 6), QTime(15, 30, 0), Qt::UTC);
        for (int i = 0; i < 2; ++i) {
            QVERIFY(SafeFile::writeAtomically(path, QByteArray::number(i)));
            const QString aside = SafeFile::moveAside(path, when);
            QVERIFY(!aside.isEmpty());
            QVERIFY(!QFileInfo::exists(path));
            if (i == 0)
                QCOMPARE(QFileInfo(aside).fileName(), QStringLiteral("History.unreadable-20261206T153000Z.json"));
            QFile kept(aside);
            QVERIFY(kept.open(QIODevice::ReadOnly));
            QCOMPARE(kept.readAll(), QByteArray::number(i));
        }
        QCOMPARE(SafeFile::moveAside(path, when), QString());
    }
};

QTEST_GUILESS_MAIN(TestSafeFile)
#include "tst_safefile.moc"
