#include "history/HistoryFile.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using Conversation = HistoryStore::Conversation;

static QByteArray fixture()
{
    QFile file(qEnvironmentVariable("HALVORA_TEST_SOURCE_DIR") +
               QStringLiteral("/tests/history/fixtures/History.json"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

static QDateTime utc(int y, int mo, int d, int h, int mi, int s, int ms = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s, ms), Qt::UTC);
}

class TestHistoryFile : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void readsTheFixtureAndWritesItBack()
    {
        const auto decoded = HistoryFile::decode(fixture());
        QVERIFY(decoded && decoded->size() == 2);
        const Conversation& rewrite = decoded->at(0);
        QCOMPARE(rewrite.kind, HistoryStore::Kind::Rewrite);
        QCOMPARE(rewrite.id, QUuid::fromString(QStringLiteral("6f1c2a7e-0b3d-4c55-9e21-7a8b9c0d1e2f")));
        QCOMPARE(rewrite.style, std::optional<QString>(QStringLiteral("Make shorter")));
        QCOMPARE(rewrite.createdAt, utc(2025, 3, 4, 10, 15, 30));
        QVERIFY(!rewrite.turns[0].question && rewrite.turns[0].sources.isEmpty());
        const Conversation& chat = decoded->at(1);
        QVERIFY(!chat.selection && !chat.appName && !chat.style);
        QCOMPARE(chat.title, QStringLiteral("Café “menus” \\ tabs\t👋🏽"));
        QCOMPARE(chat.turns[0].sources[1].url, QUrl(QStringLiteral("https://example.com/guide?q=caf%C3%A9&x=1")));
        QVERIFY(chat.turns[0].deep && !chat.turns[1].deep);
        QCOMPARE(chat.turns[1].question, std::optional<QString>(QString())); // present but empty

        const QByteArray encoded = HistoryFile::encode(*decoded);
        QCOMPARE(QJsonDocument::fromJson(encoded), QJsonDocument::fromJson(fixture()));
        QVERIFY(!encoded.contains('\n') && !encoded.contains("\": ") && !encoded.contains(", "));
        QCOMPARE(HistoryFile::decode(encoded), decoded);
    }

    void absentOptionalsAreLeftOut()
    {
        Conversation conversation;
        conversation.turns.append({QUuid::createUuid(), std::nullopt, QStringLiteral("a\u0001\"\\\b\f\r"), {}, false});
        const QJsonObject object = QJsonDocument::fromJson(HistoryFile::encode({conversation})).array()[0].toObject();
        QCOMPARE(object.keys(), (QStringList{"createdAt", "id", "kind", "title", "turns", "updatedAt"}));
        QCOMPARE(object.value("id").toString(), conversation.id.toString(QUuid::WithoutBraces).toUpper());
        const QJsonObject turn = object.value("turns").toArray()[0].toObject();
        QCOMPARE(turn.keys(), (QStringList{"answer", "deep", "id", "sources"}));
        QCOMPARE(turn.value("answer").toString(), QStringLiteral("a\u0001\"\\\b\f\r"));
        QCOMPARE(turn.value("sources"), QJsonValue(QJsonArray()));
    }

    void decodingIsAllOrNothing_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<bool>("readable");
        const auto row = [](const char* name, const QString& from, const QString& to, bool readable) {
            QTest::newRow(name) << from << to << readable;
        };
        const QString id = QStringLiteral("6F1C2A7E-0B3D-4C55-9E21-7A8B9C0D1E2F");
        const QString title = QStringLiteral(R"("title":"t")");
        row("as written", QString(), QString(), true);
        row("lower-case id", id, id.toLower(), true);
        row("date with offset", "10:15:30Z", "12:15:30+02:00", true);
        row("null optional", title, title + R"(,"style":null)", true);
        row("empty array", "*", "[]", true);
        row("pretty printed", ",", ",\n\t ", true);
        row("keys reordered", R"("kind":"ask","title":"t")", R"("title":"t","kind":"ask")", true);
        row("unknown key skipped", title, title + ",\"x\":{\"a\":[1,-2.5e3,true,null,\"]\\\"\"]}", true);
        row("escaped key, lone surrogate", title, R"("ti\u0074le":"\ud83d")", true);
        row("unknown key nested too deep", title, title + ",\"x\":" + QString(100, '[') + QString(100, ']'), false);
        row("raw control character", title, "\"title\":\"t\x01\"", false);
        row("unknown escape", title, R"("title":"\q")", false);
        row("trailing text", "[]}]", "[]}]x", false);
        row("truncated", "[]}]", "[]}", false);
        row("unknown kind", "\"ask\"", "\"summary\"", false);
        row("fractional seconds", "10:15:30Z", "10:15:30.250Z", false);
        row("impossible date", "2025-03-04T10", "2025-02-30T10", false);
        row("date without zone", "10:15:30Z", "10:15:30", false);
        row("missing turns", "\"turns\"", "\"turnz\"", false);
        row("missing sources", "\"sources\"", "\"links\"", false);
        row("missing source url", "\"url\"", "\"link\"", false);
        row("empty source url", "https://e.com/", "", false);
        row("source url that does not parse", "https://e.com/", "http://[::1", false);
        row("deep as a string", "\"deep\":false", "\"deep\":\"false\"", false);
        row("question a number", "\"answer\"", "\"question\":1,\"answer\"", false);
        row("id in braces", id, "{" + id + "}", false);
    }

    void decodingIsAllOrNothing()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QString json = QStringLiteral(
            R"([{"id":"6F1C2A7E-0B3D-4C55-9E21-7A8B9C0D1E2F","kind":"ask","title":"t","createdAt":"2025-03-04T10:15:30Z",)"
            R"("updatedAt":"2025-03-04T10:15:30Z","turns":[{"id":"A1B2C3D4-E5F6-4789-8ABC-DEF012345678","answer":"a",)"
            R"("sources":[{"title":"s","url":"https://e.com/"}],"deep":false}]},)"
            R"({"id":"0D9E8F7A-6B5C-4D3E-8F2A-1B0C9D8E7F6A","kind":"chat","title":"u","createdAt":"2025-03-04T11:00:00Z",)"
            R"("updatedAt":"2025-03-04T11:00:00Z","turns":[]}])");
        json = from == "*" ? to : json.replace(from, to);
        const auto decoded = HistoryFile::decode(json.toUtf8());
        QTEST(decoded.has_value(), "readable");
        if (decoded && !decoded->isEmpty())
            QCOMPARE(decoded->at(0).createdAt, utc(2025, 3, 4, 10, 15, 30));
    }

    void datesAreWholeSecondUtc_data()
    {
        QTest::addColumn<QDateTime>("date");
        QTest::addColumn<QString>("text");
        QTest::newRow("milliseconds dropped") << utc(2025, 3, 4, 10, 15, 30, 999) << "2025-03-04T10:15:30Z";
        QTest::newRow("offset made UTC") << QDateTime(QDate(2025, 3, 4), QTime(1, 0), Qt::OffsetFromUTC, 2 * 3600)
                                         << "2025-03-03T23:00:00Z";
        QTest::newRow("unset date") << QDateTime() << "1970-01-01T00:00:00Z";
    }

    void datesAreWholeSecondUtc()
    {
        QFETCH(QDateTime, date);
        QFETCH(QString, text);
        QCOMPARE(HistoryFile::encodeDate(date), text);
        const auto back = HistoryFile::decodeDate(text);
        QVERIFY(back.has_value());
        QCOMPARE(back->toSecsSinceEpoch(), date.isValid() ? date.toSecsSinceEpoch() : 0);
    }
};

QTEST_GUILESS_MAIN(TestHistoryFile)
#include "tst_historyfile.moc"
