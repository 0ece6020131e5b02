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

    // Raw value, title, symbol and the start of the instruction of each style.
    void eachStyle_data()
    {
        QTest::addColumn<RewriteStyle>("style");
        QTest::addColumn<QStringList>("texts");
        auto row = [](RewriteStyle::Case style, const QStringList& texts) {
            QTest::newRow(qPrintable(texts.first())) << RewriteStyle(style) << texts;
        };
        row(RewriteStyle::improve, {"improve", "Improve writing", "wand.and.stars", "Improve clarity, flow"});
        row(RewriteStyle::grammar, {"grammar", "Fix spelling & grammar", "checkmark.circle", "Fix spelling, grammar"});
        row(RewriteStyle::shorter,
            {"shorter", "Make shorter", "arrow.down.right.and.arrow.up.left", "Make it noticeably shorter"});
        row(RewriteStyle::longer,
            {"longer", "Make longer", "arrow.up.left.and.arrow.down.right", "Expand it with useful detail"});
        row(RewriteStyle::professional,
            {"professional", "More professional", "briefcase", "Make the tone more professional"});
        row(RewriteStyle::casual, {"casual", "More casual", "face.smiling", "Make the tone more casual"});
        row(RewriteStyle::simplify, {"simplify", "Simplify", "text.badge.minus", "Rewrite it in simpler, plain"});
        row(RewriteStyle::translate,
            {"translate", "Translate to English", "character.bubble", "Translate the text into English."});
    }

    void eachStyle()
    {
        QFETCH(RewriteStyle, style);
        QFETCH(QStringList, texts);
        QCOMPARE(style.rawValue(), texts[0]);
        QCOMPARE(style.id(), texts[0]);
        QCOMPARE(style.title(), texts[1]);
        QCOMPARE(style.symbol(), texts[2]);
        QVERIFY(style.instruction().startsWith(texts[3]));
        QVERIFY(RewriteStyle::fromRawValue(texts[0]) == style);
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
