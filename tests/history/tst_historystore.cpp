#include "history/HistoryFile.h"
#include "history/HistoryStore.h"
#include "platform/MemoryPreferences.h"
#include "platform/fake/FakeClock.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using Conversation = HistoryStore::Conversation;

static Conversation conversation(const QString& title, QUuid id = QUuid::createUuid(), int turns = 1)
{
    Conversation made;
    made.id = id;
    made.kind = HistoryStore::Kind::Ask;
    made.title = title;
    for (int i = 0; i < turns; ++i)
        made.turns.append({QUuid::createUuid(), std::nullopt, QStringLiteral("answer"), {}, false});
    return made;
}

static QStringList titles(const QList<Conversation>& list)
{
    QStringList result;
    for (const Conversation& item : list)
        result.append(item.title);
    return result;
}

static QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

static QStringList titlesOnDisk(const QString& path)
{
    return titles(HistoryFile::decode(contents(path)).value_or(QList<Conversation>()));
}

class TestHistoryStore : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_tmp;
    QString m_path;
    FakeClock m_clock;

private Q_SLOTS:
    void init()
    {
        Preferences::setInstance(std::make_unique<MemoryPreferences>());
        m_tmp = std::make_unique<QTemporaryDir>();
        m_path = m_tmp->filePath(QStringLiteral("Halvora/History.json"));
    }

    void upsertPutsNewestFirstAndReplacesById()
    {
        HistoryStore store(m_path, m_clock);
        QSignalSpy changed(&store, &HistoryStore::conversationsChanged);
        const Conversation a = conversation(QStringLiteral("a"));
        store.upsert(a);
        store.upsert(conversation(QStringLiteral("b")));
        store.upsert(conversation(QStringLiteral("a2"), a.id, 2));
        QCOMPARE(titles(store.conversations()), (QStringList{"a2", "b"}));
        QCOMPARE(store.conversation(a.id)->turns.size(), 2);
        QVERIFY(!store.conversation(QUuid()));
        store.upsert(conversation(QStringLiteral("no turns"), a.id, 0));
        store.deleteConversation(QUuid::createUuid());
        QCOMPARE(titles(store.conversations()), (QStringList{"a2", "b"}));
        QCOMPARE(changed.size(), 3);
    }

    void listIsCappedDroppingTheLeastRecentlySaved()
    {
        HistoryStore store(m_path, m_clock);
        for (int i = 0; i <= HistoryStore::maxConversations; ++i)
            store.upsert(conversation(QString::number(i)));
        QCOMPARE(store.conversations().size(), 1000);
        QCOMPARE(store.conversations().first().title, QStringLiteral("1000"));
        QCOMPARE(store.conversations().last().title, QStringLiteral("1"));
    }

    void savingSwitchComesFromDefaults_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("missing") << QVariant() << true;
        QTest::newRow("false") << QVariant(false) << false;
        QTest::newRow("string \"false\"") << QVariant(QStringLiteral("false")) << true;
    }

    void savingSwitchComesFromDefaults()
    {
        QFETCH(QVariant, stored);
        QFETCH(bool, enabled);
        if (stored.isValid())
            Preferences::instance().setValue(QStringLiteral("saveHistory"), stored);
        HistoryStore store(m_path, m_clock);
        QCOMPARE(store.isEnabled(), enabled);
        QSignalSpy changed(&store, &HistoryStore::isEnabledChanged);
        store.setEnabled(enabled);
        QCOMPARE(Preferences::instance().value(QStringLiteral("saveHistory")), QVariant(enabled));
        store.setEnabled(!enabled);
        QCOMPARE(changed.size(), 1);
        QVERIFY(!store.isSavePending());
    }

    void withSavingOffOnlyDeleteAndClearChangeTheList()
    {
        HistoryStore store(m_path, m_clock);
        const Conversation a = conversation(QStringLiteral("a"));
        store.upsert(a);
        store.upsert(conversation(QStringLiteral("b")));
        store.setEnabled(false);
        store.upsert(conversation(QStringLiteral("c")));
        store.deleteConversation(a.id);
        m_clock.advance(400);
        store.flush();
        QCOMPARE(titlesOnDisk(m_path), QStringList{"b"});
        store.clearAll();
        m_clock.advance(400);
        store.flush();
        QCOMPARE(contents(m_path), QByteArray("[]"));
    }

    void burstOfChangesGivesOneWriteOfTheLastState()
    {
        HistoryStore store(m_path, m_clock);
        for (const char* title : {"a", "b", "c"}) {
            store.upsert(conversation(QString::fromLatin1(title)));
            m_clock.advance(100);
        }
        m_clock.advance(299);
        QVERIFY(store.isSavePending() && !QFile::exists(m_path));
        m_clock.advance(1);
        store.flush();
        QCOMPARE(store.writeCount(), 1);
        QCOMPARE(titlesOnDisk(m_path), (QStringList{"c", "b", "a"}));
        // A change made while that write may still be under way is the one that stays.
        store.upsert(conversation(QStringLiteral("d")));
        m_clock.advance(400);
        store.upsert(conversation(QStringLiteral("e")));
        store.flush();
        QCOMPARE(titlesOnDisk(m_path), (QStringList{"e", "d", "c", "b", "a"}));
    }

    void missingFileStartsEmptyInAPrivateFolder()
    {
        HistoryStore store(m_path, m_clock);
        QVERIFY(store.conversations().isEmpty());
        QCOMPARE((QFile::permissions(m_tmp->filePath(QStringLiteral("Halvora"))) & 0x0777).toInt(), 0x0700);
        QVERIFY(!QFile::exists(m_path));
    }

    void unreadableFileIsMovedAsideAndKept_data()
    {
        QTest::addColumn<QByteArray>("stored");
        const QByteArray valid = HistoryFile::encode({conversation(QStringLiteral("kept"))});
        QTest::newRow("not JSON") << QByteArray("{[garbage");
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("unknown kind") << QByteArray(valid).replace("\"ask\"", "\"summary\"");
        QTest::newRow("fractional seconds") << QByteArray(valid).replace(":00Z", ":00.5Z");
    }

    void unreadableFileIsMovedAsideAndKept()
    {
        QFETCH(QByteArray, stored);
        const QString aside = m_tmp->filePath(QStringLiteral("Halvora/History.unreadable-20261206T153000Z.json"));
        QVERIFY(QDir().mkpath(m_tmp->filePath(QStringLiteral("Halvora"))));
        QFile file(m_path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(stored) == stored.size());
        file.close();
        FakeClock clock(QDateTime(QDate(2026, 12, 6), QTime(15, 30), Qt::UTC));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("history file could not be read; it was kept as .*"
                                                              "History.unreadable-20261206T153000Z.json"));
        HistoryStore store(m_path, clock);
        QVERIFY(store.conversations().isEmpty());
        QCOMPARE(contents(aside), stored);
        store.upsert(conversation(QStringLiteral("new")));
        store.flush();
        QCOMPARE(titlesOnDisk(m_path), QStringList{"new"});
        QCOMPARE(contents(aside), stored);
    }

    // A regular file stands where the folder should be, so no write can succeed, whoever runs
    // the test. Each failure leaves a warning; the list stays whole and the next write has it all.
    void failedWriteWarnsAndTheNextWriteHasEverything()
    {
        const QString blocker = m_tmp->filePath(QStringLiteral("Halvora"));
        QFile file(blocker);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Could not make the history folder private"));
        HistoryStore store(m_path, m_clock);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Could not write the history to .*History.json:"));
        store.upsert(conversation(QStringLiteral("first")));
        store.flush();
        QCOMPARE(titles(store.conversations()), QStringList{"first"});
        QVERIFY(!QFileInfo(m_path).exists());

        QVERIFY(QFile::remove(blocker));
        store.upsert(conversation(QStringLiteral("second")));
        store.flush();
        QCOMPARE(titlesOnDisk(m_path), (QStringList{"second", "first"}));
    }

    void pendingSaveIsWrittenWhenTheProgramQuits()
    {
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_tmp->path()));
        HistoryStore& store = HistoryStore::shared();
        QCOMPARE(store.filePath(), m_path);
        store.upsert(conversation(QStringLiteral("last words")));
        QTimer::singleShot(0, QCoreApplication::instance(), [] { QCoreApplication::exit(0); });
        QCoreApplication::exec();
        QVERIFY(!store.isSavePending());
        QCOMPARE(titlesOnDisk(m_path), QStringList{"last words"});
    }
};

QTEST_GUILESS_MAIN(TestHistoryStore)
#include "tst_historystore.moc"
