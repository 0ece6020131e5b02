#include "platform/MemoryUserDefaults.h"
#include "settings/WritingModeStore.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSignalSpy>
#include <QTest>

static WritingMode mode(const QString& name, const QString& instructions = QStringLiteral("Be brief."))
{
    return WritingMode{QUuid::createUuid(), name, instructions};
}

static QJsonArray storedArray(const UserDefaults& defaults)
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
    void firstStartHasNoModesAndWritesNothing()
    {
        MemoryUserDefaults defaults;
        WritingModeStore store(defaults);
        QVERIFY(store.modes().isEmpty());
        QVERIFY(defaults.values().isEmpty());
    }

    void saveTrimsOrIgnores_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("instructions");
        QTest::addColumn<QString>("storedName");
        QTest::addColumn<QString>("storedInstructions");
        QTest::newRow("as typed") << "Legal"
                                  << "Cite the clause."
                                  << "Legal"
                                  << "Cite the clause.";
        QTest::newRow("blank lines around") << "  Legal \n"
                                            << "\n\n Cite.\n\nAlways.\n \n"
                                            << "Legal"
                                            << "Cite.\n\nAlways.";
        QTest::newRow("name of spaces") << "   "
                                        << "Cite." << QString() << QString();
        QTest::newRow("name of a line break") << "\n"
                                              << "Cite." << QString() << QString();
        QTest::newRow("blank instructions") << "Legal"
                                            << " \n\t\u2028" << QString() << QString();
    }

    void saveTrimsOrIgnores()
    {
        QFETCH(QString, name);
        QFETCH(QString, instructions);
        QFETCH(QString, storedName);
        QFETCH(QString, storedInstructions);
        MemoryUserDefaults defaults;
        WritingModeStore store(defaults);
        QSignalSpy changed(&store, &WritingModeStore::modesChanged);
        const WritingMode given = mode(name, instructions);
        store.save(given);
        if (storedName.isEmpty()) {
            QVERIFY(store.modes().isEmpty());
            QVERIFY(!defaults.contains(WritingModeStore::key()));
            QCOMPARE(changed.count(), 0);
            return;
        }
        const WritingMode expected{given.id, storedName, storedInstructions};
        QCOMPARE(store.modes(), QList<WritingMode>{expected});
        QCOMPARE(WritingModeStore(defaults).modes(), QList<WritingMode>{expected});
        QCOMPARE(changed.count(), 1);
    }

    void saveReplacesInPlaceOrAppends()
    {
        MemoryUserDefaults defaults;
        WritingModeStore store(defaults);
        const WritingMode a = mode("A"), b = mode("B"), c = mode("C");
        store.save(a);
        store.save(b);
        store.save(c);
        QSignalSpy changed(&store, &WritingModeStore::modesChanged);
        store.save(WritingMode{b.id, "B2", "Other rules."});
        QCOMPARE(names(store), (QStringList{"A", "B2", "C"}));
        store.save(WritingMode{b.id, "B2", "Other rules."});
        QCOMPARE(changed.count(), 1);
        QCOMPARE(WritingModeStore(defaults).modes(), store.modes());
    }

    void sameTemplateTwiceMakesTwoModes()
    {
        MemoryUserDefaults defaults;
        WritingModeStore store(defaults);
        for (int i = 0; i < 2; ++i) {
            WritingMode copy = WritingModeStore::templates().at(2);
            copy.id = QUuid::createUuid();
            store.save(copy);
        }
        QCOMPARE(names(store), (QStringList{"Plain language", "Plain language"}));
        QVERIFY(store.modes().at(0).id != store.modes().at(1).id);
    }

    void removeDropsEveryModeWithTheId()
    {
        const QUuid twice = QUuid::createUuid();
        const QJsonArray array{WritingMode{twice, "X", "1"}.toJson(), mode("Y").toJson(),
                               WritingMode{twice, "Z", "2"}.toJson()};
        MemoryUserDefaults defaults({{WritingModeStore::key(), QJsonDocument(array).toJson()}});
        WritingModeStore store(defaults);
        QSignalSpy changed(&store, &WritingModeStore::modesChanged);
        store.remove(WritingMode{twice, "", ""});
        QCOMPARE(names(store), QStringList{"Y"});
        QCOMPARE(storedArray(defaults).size(), 1);
        store.remove(mode("never saved"));
        QCOMPARE(changed.count(), 1);
    }

    void storedFormIsAJsonArrayOfData()
    {
        MemoryUserDefaults defaults;
        WritingModeStore store(defaults);
        const WritingMode a = mode("A", "one"), b = mode("B", "two");
        store.save(a);
        store.save(b);
        QCOMPARE(defaults.value(WritingModeStore::key()).typeId(), QMetaType::QByteArray);
        QCOMPARE(defaults.values().keys(), QStringList{"writingModes"});
        QCOMPARE(storedArray(defaults), (QJsonArray{a.toJson(), b.toJson()}));
    }

    void loadKeepsWhatItCannotRead_data()
    {
        const QJsonObject good = WritingMode{QUuid("{8c1e5b2a-3f4d-4e6a-9b7c-0d1e2f3a4b5c}"), "Good", "Rules"}.toJson();
        const QJsonObject noInstructions{{"id", "1A2B3C4D-3F4D-4E6A-9B7C-0D1E2F3A4B5C"}, {"name", "Half"}};
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QStringList>("loaded");
        QTest::addColumn<int>("keptEntries");
        QTest::newRow("valid") << QVariant(QJsonDocument(QJsonArray{good}).toJson()) << QStringList{"Good"} << 0;
        QTest::newRow("one bad entry") << QVariant(QJsonDocument(QJsonArray{noInstructions, good, 7}).toJson())
                                       << QStringList{"Good"} << 2;
        QTest::newRow("not JSON") << QVariant(QByteArray("[{\"id\":")) << QStringList() << 0;
        QTest::newRow("text, not data") << QVariant(QString::fromUtf8(QJsonDocument(QJsonArray{good}).toJson()))
                                        << QStringList{"Good"} << 0;
        QTest::newRow("an object, not an array") << QVariant(QJsonDocument(good).toJson()) << QStringList() << 0;
    }

    void loadKeepsWhatItCannotRead()
    {
        QFETCH(QVariant, stored);
        QFETCH(QStringList, loaded);
        QFETCH(int, keptEntries);
        MemoryUserDefaults defaults({{WritingModeStore::key(), stored}});
        WritingModeStore store(defaults);
        QCOMPARE(names(store), loaded);
        QCOMPARE(defaults.value(WritingModeStore::key()), stored);

        store.save(mode("New"));
        const QJsonArray array = storedArray(defaults);
        QCOMPARE(array.size(), loaded.size() + 1 + keptEntries);
        QCOMPARE(names(WritingModeStore(defaults)), loaded + QStringList{"New"});
    }
};

QTEST_GUILESS_MAIN(TestWritingModeStore)
#include "tst_writingmodestore.moc"
