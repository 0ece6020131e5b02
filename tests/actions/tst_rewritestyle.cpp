#include "actions/RewriteStyle.h"
#include "platform/fake/FakePreferredLanguages.h"

#include <QTest>

class TestRewriteStyle : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        PreferredLanguages::setCurrent(std::make_unique<FakePreferredLanguages>(QStringList{QStringLiteral("en-US")}));
    }

    void cleanupTestCase() { PreferredLanguages::setCurrent(nullptr); }

    void eachStyle_data()
    {
        QTest::addColumn<RewriteStyle>("style");
        QTest::addColumn<QString>("rawValue");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("symbol");
        QTest::addColumn<QString>("instruction");
        QTest::newRow("improve") << RewriteStyle(RewriteStyle::improve) << "improve"
                                 << "Improve writing"
                                 << "wand.and.stars"
                                 << "Improve clarity, flow and word choice while keeping the meaning and tone.";
        QTest::newRow("grammar") << RewriteStyle(RewriteStyle::grammar) << "grammar"
                                 << "Fix spelling & grammar"
                                 << "checkmark.circle"
                                 << "Fix spelling, grammar and punctuation only. Change nothing else.";
        QTest::newRow("shorter") << RewriteStyle(RewriteStyle::shorter) << "shorter"
                                 << "Make shorter"
                                 << "arrow.down.right.and.arrow.up.left"
                                 << "Make it noticeably shorter while keeping every key point.";
        QTest::newRow("longer") << RewriteStyle(RewriteStyle::longer) << "longer"
                                << "Make longer"
                                << "arrow.up.left.and.arrow.down.right"
                                << "Expand it with useful detail, keeping the same tone and meaning.";
        QTest::newRow("professional") << RewriteStyle(RewriteStyle::professional) << "professional"
                                      << "More professional"
                                      << "briefcase"
                                      << "Make the tone more professional and polished.";
        QTest::newRow("casual") << RewriteStyle(RewriteStyle::casual) << "casual"
                                << "More casual"
                                << "face.smiling"
                                << "Make the tone more casual and friendly.";
        QTest::newRow("simplify") << RewriteStyle(RewriteStyle::simplify) << "simplify"
                                  << "Simplify"
                                  << "text.badge.minus"
                                  << "Rewrite it in simpler, plain language that anyone can understand.";
        QTest::newRow("translate") << RewriteStyle(RewriteStyle::translate) << "translate"
                                   << "Translate to English"
                                   << "character.bubble"
                                   << "Translate the text into English. If it's already in English, translate it "
                                      "into Spanish. Keep the tone, names and formatting; translate naturally, not "
                                      "word for word.";
    }

    void eachStyle()
    {
        QFETCH(RewriteStyle, style);
        QFETCH(QString, rawValue);
        QCOMPARE(style.rawValue(), rawValue);
        QCOMPARE(style.id(), rawValue);
        QTEST(style.title(), "title");
        QTEST(style.symbol(), "symbol");
        QTEST(style.instruction(), "instruction");
        QVERIFY(RewriteStyle::fromRawValue(rawValue) == style);
    }

    void allCasesInDeclarationOrder()
    {
        QStringList rawValues;
        for (const RewriteStyle style : RewriteStyle::allCases())
            rawValues << style.rawValue();
        QCOMPARE(rawValues,
                 QString("improve grammar shorter longer professional casual simplify translate").split(' '));
    }

    void unknownRawValues_data()
    {
        QTest::addColumn<QString>("rawValue");
        QTest::newRow("capitalised") << "Improve";
        QTest::newRow("upper case") << "GRAMMAR";
        QTest::newRow("empty") << "";
        QTest::newRow("leading space") << " improve";
        QTest::newRow("title instead of raw value") << "Make shorter";
        QTest::newRow("an action, not a style") << "webSearch";
    }

    void unknownRawValues()
    {
        QFETCH(QString, rawValue);
        QVERIFY(!RewriteStyle::fromRawValue(rawValue).has_value());
    }
};

QTEST_GUILESS_MAIN(TestRewriteStyle)
#include "tst_rewritestyle.moc"
