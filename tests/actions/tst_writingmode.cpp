#include "actions/WritingMode.h"

#include <QJsonDocument>
#include <QTest>

class TestWritingMode : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void roundTripKeepsEveryField()
    {
        const WritingMode mode{QUuid::createUuid(), QStringLiteral("Brand “voice”"),
                               QStringLiteral("Line one\n- … two")};
        const QJsonObject json = mode.toJson();
        QCOMPARE(json.keys(),
                 (QStringList{QStringLiteral("id"), QStringLiteral("instructions"), QStringLiteral("name")}));
        QCOMPARE(json.value(QStringLiteral("id")).toString(), json.value(QStringLiteral("id")).toString().toUpper());
        const auto decoded = WritingMode::fromJson(QJsonDocument::fromJson(QJsonDocument(json).toJson()).object());
        QVERIFY(decoded.has_value());
        QCOMPARE(*decoded, mode);
        QCOMPARE(qHash(*decoded), qHash(mode));
    }

    void decodingNeedsAllThreeKeys_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<bool>("decodes");
        QTest::newRow("complete")
            << QByteArray(R"({"id":"8C1E5B2A-3F4D-4E6A-9B7C-0D1E2F3A4B5C","name":"n","instructions":"i"})") << true;
        QTest::newRow("lower-case id")
            << QByteArray(R"({"id":"8c1e5b2a-3f4d-4e6a-9b7c-0d1e2f3a4b5c","name":"n","instructions":"i"})") << true;
        QTest::newRow("no instructions") << QByteArray(R"({"id":"8C1E5B2A-3F4D-4E6A-9B7C-0D1E2F3A4B5C","name":"n"})")
                                         << false;
        QTest::newRow("no name") << QByteArray(R"({"id":"8C1E5B2A-3F4D-4E6A-9B7C-0D1E2F3A4B5C","instructions":"i"})")
                                 << false;
        QTest::newRow("no id") << QByteArray(R"({"name":"n","instructions":"i"})") << false;
        QTest::newRow("name is a number")
            << QByteArray(R"({"id":"8C1E5B2A-3F4D-4E6A-9B7C-0D1E2F3A4B5C","name":1,"instructions":"i"})") << false;
        QTest::newRow("id is not a UUID") << QByteArray(R"({"id":"mode-1","name":"n","instructions":"i"})") << false;
        QTest::newRow("id in braces")
            << QByteArray(R"({"id":"{8C1E5B2A-3F4D-4E6A-9B7C-0D1E2F3A4B5C}","name":"n","instructions":"i"})") << false;
    }

    void decodingNeedsAllThreeKeys()
    {
        QFETCH(QByteArray, json);
        QTEST(WritingMode::fromJson(QJsonDocument::fromJson(json).object()).has_value(), "decodes");
    }
};

QTEST_GUILESS_MAIN(TestWritingMode)
#include "tst_writingmode.moc"
