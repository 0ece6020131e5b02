// Runs with LANGUAGE and LC_ALL set by CTest: the real source of the preferred languages.
#include "actions/RewriteStyle.h"
#include "actions/Translation.h"
#include "platform/SystemPreferredLanguages.h"

#include <QTest>

class TestSystemLanguages : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void followsTheSessionLocale()
    {
        const QStringList languages = SystemPreferredLanguages().languages();
        QVERIFY(!languages.isEmpty());
        QCOMPARE(languages.first(), "de-CH");
        QCOMPARE(Translation::targetLanguage(), "German");
        QCOMPARE(RewriteStyle(RewriteStyle::Translate).title(), "Translate to German");
    }
};

QTEST_GUILESS_MAIN(TestSystemLanguages)
#include "tst_systemlanguages.moc"
