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
        QTest::addColumn<QString>("fallback");
        auto row = [](const char* name, const QStringList& preferred, const char* target, const char* fallback) {
            QTest::newRow(name) << preferred << QString(target) << QString(fallback);
        };
        row("en-US only", {"en-US"}, "English", "Spanish");
        row("fr-FR then en-US", {"fr-FR", "en-US"}, "French", "English");
        row("empty list", {}, "English", "Spanish");
        row("de-CH", {"de-CH"}, "German", "English");
        row("script and region", {"zh-Hans-CN"}, "Chinese", "English");
        row("unknown code", {"xx", "fr-FR"}, "English", "Spanish");
        row("C locale", {"C"}, "English", "Spanish");
        row("empty identifier", {""}, "English", "Spanish");
    }

    void target()
    {
        QFETCH(QStringList, preferred);
        QFETCH(QString, target);
        QFETCH(QString, fallback);
        m_languages->setLanguages(preferred);
        const QString instruction =
            QString("Translate the text into %1. If it's already in %1, translate it into %2.").arg(target, fallback);
        QCOMPARE(Translation::targetLanguage(), target);
        QCOMPARE(Translation::instruction(), instruction);
        QCOMPARE(RewriteStyle(RewriteStyle::Translate).title(), "Translate to " + target);
        QVERIFY(RewriteStyle(RewriteStyle::Translate).instruction().startsWith(instruction + ' '));
        QVERIFY(AIAction::translate().systemPrompt().contains(instruction + " Output only the translation"));
    }

    void readsTheLanguagesAfreshEachTime()
    {
        const AIAction action = AIAction::rewrite(RewriteStyle::Translate);
        m_languages->setLanguages({"de-DE"});
        QCOMPARE(action.title(), "Translate to German");
        m_languages->setLanguages({"es-ES"});
        QCOMPARE(action.title(), "Translate to Spanish");
        QVERIFY(action.systemPrompt().contains("into Spanish. If it's already in Spanish,"));
    }
};

QTEST_GUILESS_MAIN(TestTranslation)
#include "tst_translation.moc"
