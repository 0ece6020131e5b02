#include "platform/linux/XdgAutostart.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestXdgAutostart : public QObject {
    Q_OBJECT

    QTemporaryDir m_tmp;
    QString entryPath() const { return m_tmp.filePath(QStringLiteral("autostart/halvora.desktop")); }

    void writeEntry(const QByteArray& text)
    {
        QDir().mkpath(m_tmp.filePath(QStringLiteral("autostart")));
        QFile file(entryPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

private Q_SLOTS:
    void cleanup() { QFile::remove(entryPath()); }

    void registerCreatesTheEntryAndUnregisterRemovesIt()
    {
        QDir(m_tmp.filePath(QStringLiteral("autostart"))).removeRecursively();
        XdgAutostart item(entryPath(), QStringLiteral("/opt/Halvora 1/bin/halvora"));
        QVERIFY(!item.isEnabled());
        QString error;
        QVERIFY(item.enable(&error));
        QVERIFY(item.isEnabled());
        QFile file(entryPath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        QVERIFY(text.startsWith("[Desktop Entry]\n"));
        QVERIFY(text.contains("\nExec=\"/opt/Halvora 1/bin/halvora\"\n"));
        QVERIFY(item.disable(&error));
        QVERIFY(!QFile::exists(entryPath()));
        QVERIFY(!item.isEnabled());
        QVERIFY2(item.disable(&error), "removing an absent entry succeeds");
    }

    void statusFollowsTheEntry_data()
    {
        QTest::addColumn<QByteArray>("entry");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("plain") << QByteArray("[Desktop Entry]\nType=Application\nExec=halvora\n") << true;
        QTest::newRow("Hidden=true") << QByteArray("[Desktop Entry]\nExec=halvora\nHidden=true\n") << false;
        QTest::newRow("Hidden = true") << QByteArray("[Desktop Entry]\nHidden = true\nExec=halvora") << false;
        QTest::newRow("Hidden=false") << QByteArray("[Desktop Entry]\nHidden=false\n") << true;
        QTest::newRow("Hidden in another group")
            << QByteArray("[Desktop Entry]\nExec=halvora\n[Desktop Action x]\nHidden=true\n") << true;
    }

    void statusFollowsTheEntry()
    {
        QFETCH(QByteArray, entry);
        writeEntry(entry);
        XdgAutostart item(entryPath(), QStringLiteral("halvora"));
        QTEST(item.isEnabled(), "enabled");
        QVERIFY(item.enable());
        QVERIFY2(item.isEnabled(), "registering replaces a switched-off entry");
    }

    void execArgumentIsQuotedAndEscaped_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("exec");
        // clang-format off
        QTest::newRow("plain") << "/usr/bin/halvora" << "/usr/bin/halvora";
        QTest::newRow("space") << "/home/a b/halvora" << "\"/home/a b/halvora\"";
        QTest::newRow("dollar and backtick") << "/x/$HOME/`id`" << "\"/x/\\\\$HOME/\\\\`id\\\\`\"";
        QTest::newRow("double quote") << "/x/a\"b" << "\"/x/a\\\\\"b\"";
        QTest::newRow("backslash") << "/x/a\\b" << "\"/x/a\\\\\\\\b\"";
        QTest::newRow("percent") << "/x/100%/halvora" << "/x/100%%/halvora";
        // clang-format on
    }

    void execArgumentIsQuotedAndEscaped()
    {
        QFETCH(QString, program);
        QTEST(XdgAutostart::execArgument(program), "exec");
    }
};

QTEST_GUILESS_MAIN(TestXdgAutostart)
#include "tst_xdgautostart.moc"
