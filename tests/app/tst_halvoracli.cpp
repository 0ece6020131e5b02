#include "RelayProcess.h"
#include "RelayScenario.h"
#include "account/AccountManager.h"
#include "platform/linux/SecretServiceStore.h"

#include <QJsonDocument>
#include <QProcess>
#include <QTest>
#include <csignal>

namespace {

struct CliRun {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs halvora-cli with the selection on standard input; with interruptAfterStatus, sends
// SIGINT once the first answer text has appeared on standard output.
CliRun runCli(const QStringList& arguments, const QByteArray& selection, bool interruptAfterStatus = false)
{
    QProcess process;
    process.start(QStringLiteral(HALVORA_CLI_EXECUTABLE), arguments);
    process.write(selection);
    process.closeWriteChannel();
    if (interruptAfterStatus) {
        process.setReadChannel(QProcess::StandardOutput);
        process.waitForReadyRead(5000);
        ::kill(static_cast<pid_t>(process.processId()), SIGINT);
    }
    process.waitForFinished(10000);
    CliRun run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

} // namespace

class TestHalvoraCli : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { SecretServiceStore().save(AccountManager::tokenService(), QString()); }

    void demoRewriteEndToEnd()
    {
        RelayProcess relay;
        QVERIFY2(relay.startDemo(), qPrintable(relay.startMessage()));
        QVERIFY(SecretServiceStore().save(AccountManager::tokenService(), relay.signIn()));
        const CliRun run =
            runCli({"rewrite", "--style", "grammar", "--server", relay.baseUrl().toString()}, "teh text");
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(!run.out.trimmed().isEmpty(), qPrintable(run.err));
    }

    void scenarios_data()
    {
        QTest::addColumn<QString>("step"); // what the relay answers
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("signedIn");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("expectedOut"); // contained in standard output
        QTest::newRow("rewrite prints the final text")
            << "text" << QStringList{"rewrite"} << true << 0 << QString("Hello\n");
        QTest::newRow("explain streams") << "text" << QStringList{"explain"} << true << 0 << QString("Hello\n");
        QTest::newRow("json lines") << "text" << QStringList{"explain", "--json"} << true << 0
                                    << QString(R"({"text":"Hel","type":"textDelta"})");
        QTest::newRow("no token") << "text" << QStringList{"explain"} << false << 2 << QString();
        QTest::newRow("session ended") << "401" << QStringList{"explain"} << true << 2 << QString();
        QTest::newRow("service error") << "400" << QStringList{"explain"} << true << 3 << QString();
        QTest::newRow("network error") << "down" << QStringList{"explain"} << true << 4 << QString();
        QTest::newRow("interrupted") << "stall" << QStringList{"explain"} << true << 130 << QString("Hel");
    }

    void scenarios()
    {
        QFETCH(QString, step);
        QFETCH(QStringList, arguments);
        QFETCH(bool, signedIn);
        QFETCH(QString, expectedOut);
        RelayScenario scenario;
        if (step == "text")
            scenario.addStream(RelayScenario::textEvents({"Hel", "lo"}));
        else if (step == "stall")
            scenario.addStream(RelayScenario::textEvents({"Hel", "lo"}), {.delayMs = 0, .stallAfter = 3});
        else if (step != "down")
            scenario.addError(step.toInt(), "invalid_request_error", "No.");
        RelayProcess relay;
        QVERIFY(relay.startScenario(scenario.dir()));
        if (signedIn)
            QVERIFY(SecretServiceStore().save(AccountManager::tokenService(), "cli-token"));
        const QString server = step == "down" ? QStringLiteral("http://127.0.0.1:1/") : relay.baseUrl().toString();
        const CliRun run = runCli(arguments << "--server" << server, "some text", step == "stall");
        QFETCH(int, exitCode);
        QVERIFY2(run.exitCode == exitCode,
                 qPrintable(QStringLiteral("exit code %1, standard error:\n%2").arg(run.exitCode).arg(run.err)));
        QVERIFY2(run.out.contains(expectedOut), qPrintable(run.out + run.err));
        QVERIFY(!run.err.contains("cli-token"));
    }

    void badCommandLines_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("unknown action") << QStringList{"dance"};
        QTest::newRow("unknown mode") << QStringList{"rewrite", "--mode", "Nope"};
        QTest::newRow("ask without question") << QStringList{"ask"};
    }

    void badCommandLines()
    {
        QFETCH(QStringList, arguments);
        const CliRun run = runCli(arguments, "");
        QCOMPARE(run.exitCode, 64);
        QVERIFY(run.err.contains("halvora-cli: "));
    }
};

QTEST_GUILESS_MAIN(TestHalvoraCli)
#include "tst_halvoracli.moc"
