#include "actions/AIAction.h"
#include "actions/Translation.h"
#include "platform/fake/FakePreferredLanguages.h"

#include <QTest>

class TestTranslation : public QObject {
    Q_OBJECT

private:
    FakePreferredLanguages* m_languages = nullptr;

private Q_SLOTS:
    void initTestCase()
    {
        auto languages = std::make_unique<FakePreferredLanguages>();
        m_languages = languages.get();
        PreferredLanguages::setCurrent(std::move(languages));
    }

    void cleanupTestCase() { PreferredLanguages::setCurrent(nullptr); }

    void target_data()
    {
        QTest::addColumn<QStringList>("preferred");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("instruction");
        const QString english =
            "Translate the text into English. If it's already in English, translate it into Spanish.";
        QTest::newRow("en-US only") << QStringList{"en-US"} << "English" << english;
        QTest::newRow("fr-FR then en-US")
            << QStringList{"fr-FR", "en-US"} << "French"
            << "Translate the text into French. If it's already in French, translate it into English.";
        QTest::newRow("empty list") << QStringList{} << "English" << english;
        QTest::newRow("de-CH") << QStringList{"de-CH"} << "German"
                               << "Translate the text into German. If it's already in German, translate it into "
                                  "English.";
        QTest::newRow("script and region") << QStringList{"zh-Hans-CN"} << "Chinese"
                                           << "Translate the text into Chinese. If it's already in Chinese, "
                                              "translate it into English.";
        QTest::newRow("unknown code") << QStringList{"xx", "fr-FR"} << "English" << english;
        QTest::newRow("C locale") << QStringList{"C"} << "English" << english;
        QTest::newRow("empty identifier") << QStringList{""} << "English" << english;
    }

    void target()
    {
        QFETCH(QStringList, preferred);
        QFETCH(QString, target);
        QFETCH(QString, instruction);
        m_languages->setLanguages(preferred);
        QCOMPARE(Translation::targetLanguage(), target);
        QCOMPARE(Translation::instruction(), instruction);
        QCOMPARE(RewriteStyle(RewriteStyle::translate).title(), "Translate to " + target);
        QVERIFY(RewriteStyle(RewriteStyle::translate).instruction().startsWith(instruction + ' '));
        QVERIFY(AIAction::translate().systemPrompt().contains(instruction + " Output only the translation"));
    }

    void readsTheLanguagesAfreshEachTime()
    {
        const AIAction action = AIAction::rewrite(RewriteStyle::translate);
        m_languages->setLanguages({"de-DE"});
        QCOMPARE(action.title(), "Translate to German");
        m_languages->setLanguages({"es-ES"});
        QCOMPARE(action.title(), "Translate to Spanish");
        QVERIFY(action.systemPrompt().contains("into Spanish. If it's already in Spanish,"));
    }
};

QTEST_GUILESS_MAIN(TestTranslation)
#include "tst_translation.moc"
