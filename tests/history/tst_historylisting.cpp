#include "history/HistoryListing.h"
#include "support/TestRows.h"

#include <QTest>

using Kind = HistoryStore::Kind;
using Filter = HistoryListing::Filter;

namespace {

HistoryStore::Conversation conversation(Kind kind, const QString& title, const QString& answer = {})
{
    HistoryStore::Conversation c;
    c.kind = kind;
    c.title = title;
    c.turns.append(HistoryStore::Turn{QUuid::createUuid(), QStringLiteral("Question"), answer, {}, false});
    return c;
}

} // namespace

class TestHistoryListing : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void groupsAtTheBoundaries_data()
    {
        // Now is 10:00 in Berlin (UTC+1 in winter), so local midnight is 23:00 UTC the day before.
        QTest::addColumn<QDateTime>("updatedAt");
        QTest::addColumn<QString>("label");
        const QDateTime now(QDate(2026, 1, 15), QTime(9, 0), Qt::UTC);
        addRow("a minute ago", now.addSecs(-60), "Today");
        addRow("local midnight", QDateTime(QDate(2026, 1, 14), QTime(23, 0), Qt::UTC), "Today");
        addRow("a second before local midnight", QDateTime(QDate(2026, 1, 14), QTime(22, 59, 59), Qt::UTC),
               "Yesterday");
        addRow("yesterday 23:59, under 24 hours ago", QDateTime(QDate(2026, 1, 14), QTime(22, 59), Qt::UTC),
               "Yesterday");
        addRow("6 days 23 hours ago", now.addSecs(-(6 * 24 + 23) * 3600), "Previous 7 days");
        addRow("exactly 7 days ago", now.addDays(-7), "Earlier");
        addRow("7 days and a minute ago", now.addDays(-7).addSecs(-60), "Earlier");
        addRow("in the future, tomorrow", now.addDays(1), "Previous 7 days");
    }

    void groupsAtTheBoundaries()
    {
        QFETCH(QDateTime, updatedAt);
        const QDateTime now(QDate(2026, 1, 15), QTime(9, 0), Qt::UTC);
        QTEST(HistoryListing::groupLabel(updatedAt, now, QTimeZone("Europe/Berlin")), "label");
    }

    void groupsKeepTheirOrderAndSkipEmptyOnes()
    {
        const QDateTime now(QDate(2026, 1, 15), QTime(12, 0), Qt::UTC);
        QList<HistoryStore::Conversation> list;
        for (const auto& [title, age] : {std::pair{"old", 30}, std::pair{"new", 0}, std::pair{"older", 40}}) {
            HistoryStore::Conversation c = conversation(Kind::Chat, QString::fromLatin1(title));
            c.updatedAt = now.addDays(-age);
            list.append(c);
        }
        const QList<HistoryListing::Group> groups = HistoryListing::groups(list, now, QTimeZone("UTC"));
        QCOMPARE(groups.size(), 2);
        QCOMPARE(groups[0].label, QStringLiteral("Today"));
        QCOMPARE(groups[1].label, QStringLiteral("Earlier"));
        QCOMPARE(groups[1].conversations[0].title, QStringLiteral("old"));
        QCOMPARE(groups[1].conversations[1].title, QStringLiteral("older"));
    }

    void filterAndSearch_data()
    {
        QTest::addColumn<int>("filter");
        QTest::addColumn<QString>("search");
        QTest::addColumn<QStringList>("titles");
        addRow("all", int(Filter::All), "", QStringList{"chat", "explain", "search", "research", "rewrite"});
        addRow("explain, translate, search", int(Filter::Explain), "", QStringList{"explain", "search"});
        addRow("research only", int(Filter::Research), "", QStringList{"research"});
        addRow("only spaces is no search", int(Filter::All), " \t ",
               QStringList{"chat", "explain", "search", "research", "rewrite"});
        addRow("answer text, any case", int(Filter::All), "  HELLO ", QStringList{"chat"});
        addRow("selection", int(Filter::All), "teh", QStringList{"rewrite"});
        addRow("question", int(Filter::All), "question",
               QStringList{"chat", "explain", "search", "research", "rewrite"});
        addRow("application name is not searched", int(Filter::All), "Firefox", QStringList{});
        addRow("style is not searched", int(Filter::All), "Shorter", QStringList{});
    }

    void filterAndSearch()
    {
        QFETCH(int, filter);
        QFETCH(QString, search);
        QList<HistoryStore::Conversation> list{
            conversation(Kind::Chat, "chat", "Hello there"), conversation(Kind::Explain, "explain"),
            conversation(Kind::Search, "search"), conversation(Kind::Research, "research"),
            conversation(Kind::Rewrite, "rewrite")};
        list[2].appName = QStringLiteral("Firefox");
        list[4].selection = QStringLiteral("Fix teh typo");
        list[4].style = QStringLiteral("Shorter");
        QStringList found;
        for (const auto& c : HistoryListing::filtered(list, Filter(filter), search))
            found.append(c.title);
        QTEST(found, "titles");
    }

    void subtitles_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("style");
        QTest::addColumn<QString>("app");
        QTest::addColumn<QString>("subtitle");
        addRow("web search in a browser", int(Kind::Search), QString(), "Firefox", "Web search in Firefox");
        addRow("chat", int(Kind::Chat), QString(), QString(), "Chat");
        addRow("rewrite style in an editor", int(Kind::Rewrite), "Shorter", "gedit", "Shorter in gedit");
        addRow("ask", int(Kind::Ask), QString(), QString(), "Ask AI");
    }

    void subtitles()
    {
        QFETCH(int, kind);
        QFETCH(QString, style);
        QFETCH(QString, app);
        HistoryStore::Conversation c = conversation(Kind(kind), "x");
        if (!style.isNull())
            c.style = style;
        if (!app.isNull())
            c.appName = app;
        QTEST(HistoryListing::subtitle(c), "subtitle");
    }
};

QTEST_GUILESS_MAIN(TestHistoryListing)
#include "tst_historylisting.moc"
