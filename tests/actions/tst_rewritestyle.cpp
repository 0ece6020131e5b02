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

    // Name, title and the start of the instruction of each style.
    void eachStyle_data()
    {
        QTest::addColumn<RewriteStyle>("style");
        QTest::addColumn<QStringList>("texts");
        auto row = [](RewriteStyle::Case style, const QStringList& texts) {
            QTest::newRow(qPrintable(texts.first())) << RewriteStyle(style) << texts;
        };
        row(RewriteStyle::Improve, {"improve", "Improve writing", "Improve clarity, flow"});
        row(RewriteStyle::Grammar, {"grammar", "Fix spelling & grammar", "Fix spelling, grammar"});
        row(RewriteStyle::Shorter, {"shorter", "Make shorter", "Make it noticeably shorter"});
        row(RewriteStyle::Longer, {"longer", "Make longer", "Expand it with useful detail"});
        row(RewriteStyle::Professional, {"professional", "More professional", "Make the tone more professional"});
        row(RewriteStyle::Casual, {"casual", "More casual", "Make the tone more casual"});
        row(RewriteStyle::Simplify, {"simplify", "Simplify", "Rewrite it in simpler, plain"});
        row(RewriteStyle::Translate, {"translate", "Translate to English", "Translate the text into English."});
    }

    void eachStyle()
    {
        QFETCH(RewriteStyle, style);
        QFETCH(QStringList, texts);
        QCOMPARE(style.toString(), texts[0]);
        QCOMPARE(style.id(), texts[0]);
        QCOMPARE(style.title(), texts[1]);
        QVERIFY(style.instruction().startsWith(texts[2]));
        QVERIFY(RewriteStyle::fromString(texts[0]) == style);
    }

    void allInDeclarationOrder()
    {
        QStringList names;
        for (const RewriteStyle style : RewriteStyle::all())
            names << style.toString();
        QCOMPARE(names, QString("improve grammar shorter longer professional casual simplify translate").split(' '));
    }

    void unknownNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("capitalised") << "Improve";
        QTest::newRow("upper case") << "GRAMMAR";
        QTest::newRow("empty") << "";
        QTest::newRow("leading space") << " improve";
        QTest::newRow("title instead of raw value") << "Make shorter";
        QTest::newRow("an action, not a style") << "webSearch";
    }

    void unknownNames()
    {
        QFETCH(QString, name);
        QVERIFY(!RewriteStyle::fromString(name).has_value());
    }
};

QTEST_GUILESS_MAIN(TestRewriteStyle)
#include "tst_rewritestyle.moc"
