#include "app/LaunchCommand.h"
#include "app/SingleInstance.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QTest>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Another user on the same machine, played by a child process that drops root's privileges.
constexpr uid_t otherUser = 65534;

bool becomeOtherUser()
{
    return setgroups(0, nullptr) == 0 && setgid(otherUser) == 0 && setuid(otherUser) == 0;
}

} // namespace

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

    // A shared folder like /tmp, where any user may create a socket.
    QString sharedSocketPath() const
    {
        QFile::setPermissions(m_dir.path(), QFileDevice::Permissions(0x7777));
        return socketPath();
    }

    static void requireRoot()
    {
        if (getuid() != 0)
            QSKIP("Playing another user needs root to drop privileges in a child process");
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

    // Another user listens where our socket would be, before we start.
    void aSocketOfAnotherUserGetsNothing()
    {
        requireRoot();
        QProcess impostor;
        impostor.start(QCoreApplication::applicationFilePath(),
                       {QStringLiteral("--listen-as-other"), sharedSocketPath()});
        QVERIFY(impostor.waitForReadyRead(5000));
        QCOMPARE(impostor.readLine(), QByteArray("listening\n"));
        SingleInstance second(socketPath());
        QVERIFY(!second.forward({QStringLiteral("halvora://auth?code=secret&state=s")}, 1000));
        QVERIFY(!second.listen());
        QVERIFY(QFile::exists(socketPath()));
        impostor.closeWriteChannel();
        QVERIFY(impostor.waitForFinished(5000));
        QCOMPARE(impostor.readAll(), QByteArray());
    }

    // Another user reaches our socket (its permissions do not keep them out here).
    void aConnectionFromAnotherUserIsIgnored()
    {
        requireRoot();
        SingleInstance running(sharedSocketPath());
        QVERIFY(running.listen());
        QVERIFY(QFile::setPermissions(socketPath(), QFileDevice::Permissions(0x7777)));
        QSignalSpy received(&running, &SingleInstance::received);
        QProcess other;
        other.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--send-as-other"), socketPath()});
        QDeadlineTimer deadline(5000);
        while (other.state() != QProcess::NotRunning && !deadline.hasExpired())
            QTest::qWait(10);
        QCOMPARE(other.exitCode(), 0);
        QTest::qWait(200);
        QCOMPARE(received.size(), 0);
        // Our own user is still heard.
        QCOMPARE(forwardFromAnotherProcess({QStringLiteral("--show-actions")}), 0);
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
    if (arguments.value(1) == QStringLiteral("--listen-as-other")) {
        // Listens as another user and prints whatever reaches it, until its input closes.
        if (!becomeOtherUser())
            return 2;
        QLocalServer server;
        server.setSocketOptions(QLocalServer::WorldAccessOption);
        if (!server.listen(arguments.value(2)))
            return 3;
        QObject::connect(&server, &QLocalServer::newConnection, [&server] {
            QLocalSocket* socket = server.nextPendingConnection();
            QObject::connect(socket, &QLocalSocket::readyRead, [socket] {
                QFile out;
                out.open(stdout, QIODevice::WriteOnly);
                out.write(socket->readAll());
            });
        });
        fputs("listening\n", stdout);
        fflush(stdout);
        QSocketNotifier closed(0, QSocketNotifier::Read);
        QObject::connect(&closed, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
        return app.exec();
    }
    if (arguments.value(1) == QStringLiteral("--send-as-other")) {
        if (!becomeOtherUser())
            return 2;
        QLocalSocket socket;
        socket.connectToServer(arguments.value(2));
        if (!socket.waitForConnected(2000))
            return 3;
        socket.write(R"(["halvora://auth?code=forged&state=s"])");
        socket.waitForBytesWritten(2000);
        socket.disconnectFromServer();
        return 0;
    }
    TestSingleInstance test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_singleinstance.moc"
