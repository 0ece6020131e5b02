#include "platform/MemoryPreferences.h"
#include "settings/WritingModeStore.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSignalSpy>
#include <QTest>

static WritingMode mode(const QString& name, const QString& instructions = QStringLiteral("Be brief."))
{
    return WritingMode{QUuid::createUuid(), name, instructions};
}

static QJsonArray storedArray(const Preferences& defaults)
{
    return QJsonDocument::fromJson(defaults.value(WritingModeStore::key()).toByteArray()).array();
}

static QStringList names(const WritingModeStore& store)
{
    QStringList result;
    for (const WritingMode& m : store.modes())
        result.append(m.name);
    return result;
}

class TestWritingModeStore : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void saveTrimsOrIgnores_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("instructions");
        QTest::addColumn<QString>("storedName");
        QTest::addColumn<QString>("storedInstructions");
        // clang-format off
        QTest::newRow("as typed") << "Legal" << "Cite the clause." << "Legal" << "Cite the clause.";
        QTest::newRow("blank lines around") << "  Legal \n" << "\n\n Cite.\n\nAlways.\n \n" << "Legal" << "Cite.\n\nAlways.";
        QTest::newRow("name of spaces") << "   " << "Cite." << QString() << QString();
        QTest::newRow("blank instructions") << "Legal" << " \n\t\u2028" << QString() << QString();
        // clang-format on
    }

    void saveTrimsOrIgnores()
    {
        QFETCH(QString, name);
        QFETCH(QString, instructions);
        QFETCH(QString, storedName);
        QFETCH(QString, storedInstructions);
        MemoryPreferences defaults;
        WritingModeStore store(defaults);
        QVERIFY(store.modes().isEmpty());
        QSignalSpy changed(&store, &WritingModeStore::modesChanged);
        const WritingMode given = mode(name, instructions);
        store.save(given);
        const QList<WritingMode> expected =
            storedName.isEmpty() ? QList<WritingMode>() : QList{WritingMode{given.id, storedName, storedInstructions}};
        QCOMPARE(store.modes(), expected);
        QCOMPARE(WritingModeStore(defaults).modes(), expected);
        QCOMPARE(changed.count(), expected.size());
        QCOMPARE(defaults.values().keys(), expected.isEmpty() ? QStringList() : QStringList{"writingModes"});
    }

    void saveReplacesInPlaceOrAppendsAndStoresData()
    {
        MemoryPreferences defaults;
        WritingModeStore store(defaults);
        const WritingMode a = mode("A"), b = mode("B"), c = mode("C");
        for (const WritingMode& m : {a, b, c})
            store.save(m);
        QSignalSpy changed(&store, &WritingModeStore::modesChanged);
        const WritingMode b2{b.id, "B2", "Other rules."};
        store.save(b2);
        store.save(b2);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(defaults.value(WritingModeStore::key()).typeId(), QMetaType::QByteArray);
        QCOMPARE(storedArray(defaults), (QJsonArray{a.toJson(), b2.toJson(), c.toJson()}));
    }

    void removeDropsEveryModeWithTheId()
    {
        const QUuid twice = QUuid::createUuid();
        const QJsonArray array{WritingMode{twice, "X", "1"}.toJson(), mode("Y").toJson(),
                               WritingMode{twice, "Z", "2"}.toJson()};
        MemoryPreferences defaults({{WritingModeStore::key(), QJsonDocument(array).toJson()}});
        WritingModeStore store(defaults);
        QSignalSpy changed(&store, &WritingModeStore::modesChanged);
        store.remove(WritingMode{twice, "", ""});
        store.remove(mode("never saved"));
        QCOMPARE(names(store), QStringList{"Y"});
        QCOMPARE(names(WritingModeStore(defaults)), QStringList{"Y"});
        QCOMPARE(changed.count(), 1);
    }

    void loadKeepsWhatItCannotRead_data()
    {
        const QJsonObject good = WritingMode{QUuid::createUuid(), "Good", "Rules"}.toJson();
        const QJsonObject noInstructions{{"id", "1A2B3C4D-3F4D-4E6A-9B7C-0D1E2F3A4B5C"}, {"name", "Half"}};
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QStringList>("loaded");
        QTest::addColumn<int>("keptEntries");
        QTest::newRow("valid") << QVariant(QJsonDocument(QJsonArray{good}).toJson()) << QStringList{"Good"} << 0;
        QTest::newRow("bad entries") << QVariant(QJsonDocument(QJsonArray{noInstructions, good, 7}).toJson())
                                     << QStringList{"Good"} << 2;
        QTest::newRow("not JSON") << QVariant(QByteArray("[{\"id\":")) << QStringList() << 0;
        QTest::newRow("an object") << QVariant(QJsonDocument(good).toJson()) << QStringList() << 0;
        QTest::newRow("text, not data") << QVariant(QString::fromUtf8(QJsonDocument(QJsonArray{good}).toJson()))
                                        << QStringList{"Good"} << 0;
    }

    void loadKeepsWhatItCannotRead()
    {
        QFETCH(QVariant, stored);
        QFETCH(QStringList, loaded);
        QFETCH(int, keptEntries);
        MemoryPreferences defaults({{WritingModeStore::key(), stored}});
        WritingModeStore store(defaults);
        QCOMPARE(names(store), loaded);
        QCOMPARE(defaults.value(WritingModeStore::key()), stored);

        store.save(mode("New"));
        QCOMPARE(storedArray(defaults).size(), loaded.size() + 1 + keptEntries);
        QCOMPARE(names(WritingModeStore(defaults)), loaded + QStringList{"New"});
    }
};

QTEST_GUILESS_MAIN(TestWritingModeStore)
#include "tst_writingmodestore.moc"
