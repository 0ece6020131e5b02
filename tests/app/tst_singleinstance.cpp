#include "app/LaunchCommand.h"
#include "app/SingleInstance.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using Kind = LaunchCommand::Kind;

// The handoff between two real processes: this test listens, and a second copy of its own
// executable, started with --forward, plays the later start of the program.
class TestSingleInstance : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString socketPath() const { return m_dir.filePath(QStringLiteral("halvora.socket")); }

    int forwardFromAnotherProcess(const QStringList& arguments)
    {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    QStringList{QStringLiteral("--forward"), socketPath()} + arguments);
        // The child blocks on its socket, so this process must keep serving while it runs.
        QDeadlineTimer deadline(10000);
        while (child.state() != QProcess::NotRunning && !deadline.hasExpired())
            QTest::qWait(10);
        return child.state() == QProcess::NotRunning ? child.exitCode() : -1;
    }

private Q_SLOTS:
    void aSecondStartHandsItsArgumentsOver_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("sign-in callback") << QStringList{"halvora://auth?code=abc&state=x%20y"};
        QTest::newRow("show actions") << QStringList{"--show-actions"};
        QTest::newRow("reopen") << QStringList{};
    }

    void aSecondStartHandsItsArgumentsOver()
    {
        QFETCH(QStringList, arguments);
        SingleInstance running(socketPath());
        QVERIFY(running.listen());
        QSignalSpy received(&running, &SingleInstance::received);
        QCOMPARE(forwardFromAnotherProcess(arguments), 0);
        QTRY_COMPARE(received.size(), 1);
        QCOMPARE(received.first().first().toStringList(), arguments);
    }

    void withoutARunningInstanceNothingIsForwarded()
    {
        QCOMPARE(forwardFromAnotherProcess({QStringLiteral("--show-actions")}), 1);
    }

    void aStaleSocketIsTakenOver()
    {
        QFile stale(socketPath());
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.close();
        SingleInstance running(socketPath());
        QVERIFY(running.listen());
        QSignalSpy received(&running, &SingleInstance::received);
        QCOMPARE(forwardFromAnotherProcess({QStringLiteral("halvora://open")}), 0);
        QTRY_COMPARE(received.size(), 1);
    }

    void commandsFromArguments_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("kind");
        QTest::newRow("nothing") << QStringList{} << int(Kind::Reopen);
        QTest::newRow("open") << QStringList{"halvora://open"} << int(Kind::OpenMainWindow);
        QTest::newRow("open with a path") << QStringList{"halvora://open/anything"} << int(Kind::OpenMainWindow);
        QTest::newRow("sign-in callback") << QStringList{"halvora://auth?code=1"} << int(Kind::AccountCallback);
        QTest::newRow("scheme in capitals") << QStringList{"HALVORA://auth?code=1"} << int(Kind::AccountCallback);
        QTest::newRow("other scheme") << QStringList{"https://open"} << int(Kind::Reopen);
        QTest::newRow("show actions") << QStringList{"--show-actions"} << int(Kind::ShowActions);
    }

    void commandsFromArguments()
    {
        QFETCH(QStringList, arguments);
        QTEST(int(LaunchCommand::fromArguments(arguments).kind), "kind");
    }
};

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.value(1) == QStringLiteral("--forward"))
        return SingleInstance(arguments.value(2)).forward(arguments.mid(3)) ? 0 : 1;
    TestSingleInstance test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_singleinstance.moc"
