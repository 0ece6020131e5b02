#include "app/Updater.h"
#include "platform/MemoryPreferences.h"
#include "platform/fake/FakeClock.h"
#include "support/TestRows.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

using Kind = Updater::Outcome::Kind;

namespace {

QByteArray feed(const QByteArray& items)
{
    return "<?xml version=\"1.0\"?><rss version=\"2.0\" xmlns:sparkle=\"http://www.andymatuschak.org/xml-namespaces/"
           "sparkle\"><channel><title>Halvora</title>" +
           items + "</channel></rss>";
}

QByteArray item(const QByteArray& version, const QByteArray& url = "https://example.org/halvora.deb")
{
    return "<item><title>Halvora " + version + "</title><description>Notes for " + version +
           "</description><enclosure url=\"" + url + "\" sparkle:version=\"" + version + "\"/></item>";
}

} // namespace

class TestUpdater : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void newestItem_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<QString>("version");
        addRow("highest, not first", feed(item("1.9") + item("1.10") + item("1.2")), "1.10");
        addRow("version as an element",
               feed("<item><sparkle:version>2.0</sparkle:version><enclosure url=\"https://e.org/a\"/></item>"), "2.0");
        addRow("download that is not http is skipped", feed(item("3.0", "file:///etc/passwd") + item("1.0")), "1.0");
        addRow("no items", feed(""), "");
        addRow("not XML", QByteArray("<html><body>502 Bad Gateway"), "");
    }

    void newestItem()
    {
        QFETCH(QByteArray, xml);
        const std::optional<UpdateFeed> newest = UpdateFeed::newest(xml);
        QTEST(newest ? newest->version : QString(), "version");
    }

    void versions_data()
    {
        QTest::addColumn<QString>("left");
        QTest::addColumn<QString>("right");
        QTest::addColumn<int>("order");
        addRow("numbers, not text", "0.10.0", "0.9.1", 1);
        addRow("missing part is zero", "1.0", "1.0.0", 0);
        addRow("older", "0.1.0", "0.1.1", -1);
    }

    void versions()
    {
        QFETCH(QString, left);
        QFETCH(QString, right);
        QTEST(UpdateFeed::compareVersions(left, right), "order");
    }

    void withoutAFeedUpdatesComeFromThePackageManager()
    {
        MemoryPreferences defaults;
        FakeClock clock;
        Updater updater(QUrl(), QStringLiteral("0.1.0"), defaults, clock);
        QList<Kind> outcomes;
        connect(&updater, &Updater::outcomeReady, &updater,
                [&outcomes](const Updater::Outcome& outcome) { outcomes.append(outcome.kind); });
        updater.checkInBackground();
        updater.checkNow();
        QCOMPARE(outcomes, QList<Kind>{Kind::NotConfigured});
    }

    void checksTheFeedAtMostOnceADayInTheBackground()
    {
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        int requests = 0;
        connect(&server, &QTcpServer::newConnection, this, [&] {
            QTcpSocket* socket = server.nextPendingConnection();
            ++requests;
            const QByteArray body = feed(item("0.2.0"));
            socket->write(
                "HTTP/1.1 200 OK\r\nContent-Type: application/rss+xml\r\nConnection: close\r\nContent-Length: " +
                QByteArray::number(body.size()) + "\r\n\r\n" + body);
            socket->disconnectFromHost();
        });
        MemoryPreferences defaults;
        FakeClock clock;
        Updater updater(QUrl(QStringLiteral("http://127.0.0.1:%1/appcast.xml").arg(server.serverPort())),
                        QStringLiteral("0.1.0"), defaults, clock);
        QList<Updater::Outcome> outcomes;
        connect(&updater, &Updater::outcomeReady, &updater,
                [&outcomes](const Updater::Outcome& outcome) { outcomes.append(outcome); });
        updater.checkInBackground();
        QTRY_COMPARE(outcomes.size(), 1);
        QCOMPARE(outcomes.first().kind, Kind::Available);
        QCOMPARE(outcomes.first().release->download, QUrl(QStringLiteral("https://example.org/halvora.deb")));
        clock.advance(23 * 3600 * 1000LL);
        updater.checkInBackground();
        QVERIFY(!updater.isChecking());
        clock.advance(3600 * 1000LL);
        updater.checkInBackground();
        QVERIFY(updater.isChecking());
        QTRY_COMPARE(requests, 2);
    }
};

QTEST_GUILESS_MAIN(TestUpdater)
#include "tst_updater.moc"
