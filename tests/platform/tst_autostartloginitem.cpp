#include "platform/linux/AutostartLoginItem.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestAutostartLoginItem : public QObject {
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
        AutostartLoginItem item(entryPath(), QStringLiteral("/opt/Halvora 1/bin/halvora"));
        QVERIFY(!item.isEnabled());
        QString error;
        QVERIFY(item.registerItem(&error));
        QVERIFY(item.isEnabled());
        QFile file(entryPath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        QVERIFY(text.startsWith("[Desktop Entry]\n"));
        QVERIFY(text.contains("\nExec=\"/opt/Halvora 1/bin/halvora\"\n"));
        QVERIFY(text.contains("\nType=Application\n"));
        QVERIFY(item.unregisterItem(&error));
        QVERIFY(!QFile::exists(entryPath()));
        QVERIFY(!item.isEnabled());
        QVERIFY2(item.unregisterItem(&error), "removing an absent entry succeeds");
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
        QTest::newRow("HiddenX=true") << QByteArray("[Desktop Entry]\nHiddenX=true\n") << true;
    }

    void statusFollowsTheEntry()
    {
        QFETCH(QByteArray, entry);
        QFETCH(bool, enabled);
        writeEntry(entry);
        QCOMPARE(AutostartLoginItem(entryPath(), QStringLiteral("halvora")).isEnabled(), enabled);
    }

    void registeringReplacesAHiddenEntry()
    {
        writeEntry("[Desktop Entry]\nExec=halvora\nHidden=true\n");
        AutostartLoginItem item(entryPath(), QStringLiteral("/usr/bin/halvora"));
        QVERIFY(item.registerItem());
        QVERIFY(item.isEnabled());
    }

    void refusalCarriesAReason()
    {
        QFile blocker(m_tmp.filePath(QStringLiteral("not-a-folder")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        AutostartLoginItem item(m_tmp.filePath(QStringLiteral("not-a-folder/halvora.desktop")), QStringLiteral("x"));
        QString error;
        QVERIFY(!item.registerItem(&error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!item.isEnabled());
    }

    void execArgumentIsQuotedAndEscaped_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("exec");
        QTest::newRow("plain") << "/usr/bin/halvora"
                               << "/usr/bin/halvora";
        QTest::newRow("space") << "/home/a b/halvora"
                               << "\"/home/a b/halvora\"";
        QTest::newRow("dollar and backtick") << "/x/$HOME/`id`"
                                             << "\"/x/\\\\$HOME/\\\\`id\\\\`\"";
        QTest::newRow("double quote") << "/x/a\"b"
                                      << "\"/x/a\\\\\"b\"";
        QTest::newRow("backslash") << "/x/a\\b"
                                   << "\"/x/a\\\\\\\\b\"";
        QTest::newRow("percent") << "/x/100%/halvora"
                                 << "/x/100%%/halvora";
        QTest::newRow("semicolon") << "/x/a;rm -rf ~"
                                   << "\"/x/a;rm -rf ~\"";
    }

    void execArgumentIsQuotedAndEscaped()
    {
        QFETCH(QString, program);
        QFETCH(QString, exec);
        QCOMPARE(AutostartLoginItem::execArgument(program), exec);
    }

    void standardEntryIsUnderXdgConfigHome()
    {
        const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_tmp.path()));
        const QString standard = AutostartLoginItem::standardEntryPath();
        qputenv("XDG_CONFIG_HOME", saved);
        QCOMPARE(standard, entryPath());
    }
};

QTEST_GUILESS_MAIN(TestAutostartLoginItem)
#include "tst_autostartloginitem.moc"
