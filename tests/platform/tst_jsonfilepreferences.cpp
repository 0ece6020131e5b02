#include "platform/fake/FakeClock.h"
#include "platform/linux/JsonFilePreferences.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

static int mode(const QString& path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 0777) : -1;
}

static void writeFile(const QString& path, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

static QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class TestJsonFilePreferences : public QObject {
    Q_OBJECT

    QTemporaryDir m_tmp;
    QString path() const { return m_tmp.filePath(QStringLiteral("Halvora/Preferences.json")); }

private Q_SLOTS:
    void cleanup() { QDir(m_tmp.filePath(QStringLiteral("Halvora"))).removeRecursively(); }

    void valuesKeepTheirTypeInANewInstance_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::newRow("true") << QVariant(true);
        QTest::newRow("string") << QVariant(QStringLiteral("Dark “mode” …"));
        QTest::newRow("string that reads like a bool") << QVariant(QStringLiteral("true"));
        QTest::newRow("bytes") << QVariant(QByteArray::fromHex("00ff5b7b226964223a317d5d"));
        QTest::newRow("int") << QVariant(-42);
        QTest::newRow("64-bit integer") << QVariant(qlonglong(1) << 53);
        QTest::newRow("double") << QVariant(2.5);
        QTest::newRow("list") << QVariant(QVariantList{1, QStringLiteral("a"), QByteArray("b"), false});
        QTest::newRow("map with a tag-like key")
            << QVariant(QVariantMap{{QStringLiteral("$data"), QStringLiteral("x")}, {QStringLiteral("n"), 3}});
    }

    void valuesKeepTheirTypeInANewInstance()
    {
        QFETCH(QVariant, value);
        JsonFilePreferences(path()).setValue(QStringLiteral("key"), value);
        const QVariant read = JsonFilePreferences(path()).value(QStringLiteral("key"));
        QCOMPARE(read.typeId(), value.typeId());
        QCOMPARE(read, value);
    }

    void fileAndFolderAreOwnerOnlyAndRemovalIsWritten()
    {
        JsonFilePreferences store(path());
        store.setValue(QStringLiteral("autoPopup"), false);
        store.setValue(QStringLiteral("gone"), 1);
        store.remove(QStringLiteral("gone"));
        QVERIFY(!JsonFilePreferences(path()).contains(QStringLiteral("gone")));
        QCOMPARE(mode(path()), 0600);
        QCOMPARE(mode(QFileInfo(path()).absolutePath()), 0700);
        QCOMPARE(QDir(QFileInfo(path()).absolutePath()).entryList(QDir::Files), QStringList{"Preferences.json"});
    }

    void unparsableFileIsMovedAsideAndDefaultsUsed_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("not JSON") << QByteArray("appearance=dark");
        QTest::newRow("cut short") << QByteArray("{\"appearance\": \"da");
        QTest::newRow("an array") << QByteArray(R"(["appearance", "dark"])");
        QTest::newRow("empty") << QByteArray();
    }

    void unparsableFileIsMovedAsideAndDefaultsUsed()
    {
        QFETCH(QByteArray, content);
        writeFile(path(), content);
        FakeClock clock(QDateTime(QDate(2026, 12, 6), QTime(15, 30), Qt::UTC));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("preferences file could not be read; it was kept as .*"
                                                              "Preferences.unreadable-20261206T153000Z.json"));
        JsonFilePreferences store(path(), &clock);
        QVERIFY(!store.contains(QStringLiteral("appearance")));
        QVERIFY(!QFileInfo::exists(path()));
        const QString aside = m_tmp.filePath(QStringLiteral("Halvora/Preferences.unreadable-20261206T153000Z.json"));
        QCOMPARE(readFile(aside), content);

        store.setValue(QStringLiteral("appearance"), QStringLiteral("light"));
        QCOMPARE(JsonFilePreferences(path()).value(QStringLiteral("appearance")), QVariant(QStringLiteral("light")));
        QCOMPARE(readFile(aside), content);
    }

    // A regular file stands where the folder should be, so no save can succeed, whoever runs
    // the test. Each failure leaves a warning; the values stay and the next save has them all.
    void failedSaveWarnsAndTheNextSaveHasEverything()
    {
        const QString blocker = m_tmp.filePath(QStringLiteral("Halvora"));
        writeFile(blocker, "in the way");
        JsonFilePreferences store(path());
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression("Could not write the preferences to .*Preferences.json:"));
        store.setValue(QStringLiteral("appearance"), QStringLiteral("dark"));
        QCOMPARE(store.value(QStringLiteral("appearance")), QVariant(QStringLiteral("dark")));

        QVERIFY(QFile::remove(blocker));
        store.setValue(QStringLiteral("saveHistory"), false);
        const JsonFilePreferences reread(path());
        QCOMPARE(reread.value(QStringLiteral("appearance")), QVariant(QStringLiteral("dark")));
        QCOMPARE(reread.value(QStringLiteral("saveHistory")), QVariant(false));
    }

    void entriesItCannotReadStayInTheFile()
    {
        writeFile(path(), "{\"bad\": {\"$data\": \"not base64!\"}, \"newer\": {\"$colour\": \"#fff\"}, \"ok\": true}");
        JsonFilePreferences store(path());
        QVERIFY(!store.contains(QStringLiteral("bad")));
        QVERIFY(!store.contains(QStringLiteral("newer")));
        QCOMPARE(store.value(QStringLiteral("ok")), QVariant(true));
        store.setValue(QStringLiteral("ok"), false);
        const QJsonObject written = QJsonDocument::fromJson(readFile(path())).object();
        QCOMPARE(written.value(QStringLiteral("newer")).toObject().value(QStringLiteral("$colour")).toString(), "#fff");
        QVERIFY(written.contains(QStringLiteral("bad")));
    }
};

QTEST_GUILESS_MAIN(TestJsonFilePreferences)
#include "tst_jsonfilepreferences.moc"
