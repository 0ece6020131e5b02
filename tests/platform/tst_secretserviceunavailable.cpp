#include "platform/linux/SecretServiceStore.h"

#include <QDBusConnection>
#include <QDBusVirtualObject>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// The token store when the Secret Service cannot answer: no bus, a bus without the service,
// and a service that never replies. Each case runs the store in a child process (this same
// executable with --probe), because a process keeps the first session bus it connects to.

namespace {

// The keyring items of the account token and of the key that earlier versions stored.
const QString tokenItem = QStringLiteral("Halvora.account-token");
const QString legacyItem = QStringLiteral("Halvora.anthropic-api-key");

// Claims every call and never answers, like a keyring daemon stuck behind a prompt.
class SilentService : public QDBusVirtualObject {
public:
    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage&, const QDBusConnection&) override { return true; }
};

// A session bus configuration without service folders, listening in the folder %1.
const char* busConfig();

int probe()
{
    QElapsedTimer timer;
    timer.start();
    const bool loaded = SecretServiceStore().lookup(tokenItem).secret.has_value();
    const bool saved = SecretServiceStore().save(tokenItem, QStringLiteral("hv_secret"));
    const bool removed = SecretServiceStore().remove(legacyItem);
    QTextStream(stdout) << (loaded ? "loaded" : "none") << ' ' << (saved ? "saved" : "unsaved") << ' '
                        << (removed ? "removed" : "kept") << ' ' << timer.elapsed() << '\n';
    return 0;
}

} // namespace

class TestSecretServiceUnavailable : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QProcess m_bus;
    QString m_busAddress;

    QString startPrivateBus()
    {
        // No service directories: nothing is started on demand, so the Secret Service stays absent.
        QFile config(m_dir.filePath(QStringLiteral("bus.conf")));
        if (!config.open(QIODevice::WriteOnly))
            return {};
        config.write(QString::fromLatin1(busConfig()).arg(m_dir.path()).toUtf8());
        config.close();
        m_bus.setStandardErrorFile(m_dir.filePath(QStringLiteral("bus.log")));
        m_bus.start(QStringLiteral("dbus-daemon"),
                    {QStringLiteral("--config-file=") + config.fileName(), QStringLiteral("--nofork"),
                     QStringLiteral("--nopidfile"), QStringLiteral("--print-address=1")});
        if (!m_bus.waitForStarted(5000))
            return {};
        if (!QTest::qWaitFor([&] { return m_bus.canReadLine(); }, 5000))
            return {};
        return QString::fromUtf8(m_bus.readLine()).trimmed();
    }

    QString runProbe(const QString& busAddress)
    {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        if (busAddress.isEmpty())
            env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
        else
            env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), busAddress);
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--probe")});
        // The event loop keeps running meanwhile, so a service hosted by this process stays on the bus.
        if (!QTest::qWaitFor([&] { return child.state() == QProcess::NotRunning; }, 20000))
            return {};
        return QString::fromUtf8(child.readAllStandardOutput()).trimmed();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_busAddress = startPrivateBus();
        QVERIFY(!m_busAddress.isEmpty());
    }

    void cleanupTestCase()
    {
        if (m_bus.state() != QProcess::NotRunning) {
            m_bus.terminate();
            m_bus.waitForFinished(2000);
        }
    }

    void failsWithoutStoringAnywhere_data()
    {
        QTest::addColumn<QString>("bus");
        QTest::newRow("no session bus") << QString();
        QTest::newRow("bus address that does not exist") << QStringLiteral("unix:path=/nonexistent/halvora-bus");
        QTest::newRow("bus without the service") << QStringLiteral("private");
        QTest::newRow("service that never answers") << QStringLiteral("silent");
    }

    void failsWithoutStoringAnywhere()
    {
        QFETCH(QString, bus);
        std::unique_ptr<SilentService> silent;
        QString address = bus;
        if (bus == QStringLiteral("private") || bus == QStringLiteral("silent"))
            address = m_busAddress;
        if (bus == QStringLiteral("silent")) {
            QDBusConnection connection = QDBusConnection::connectToBus(address, QStringLiteral("silent"));
            QVERIFY(connection.isConnected());
            silent = std::make_unique<SilentService>();
            QVERIFY(connection.registerVirtualObject(QStringLiteral("/org/freedesktop/secrets"), silent.get(),
                                                     QDBusConnection::SubPath));
            QVERIFY(connection.registerService(QStringLiteral("org.freedesktop.secrets")));
        }
        const QStringList answer = runProbe(address).split(QLatin1Char(' '));
        if (silent) {
            QDBusConnection connection(QStringLiteral("silent"));
            connection.unregisterService(QStringLiteral("org.freedesktop.secrets"));
            connection.unregisterObject(QStringLiteral("/org/freedesktop/secrets"));
            QDBusConnection::disconnectFromBus(QStringLiteral("silent"));
        }
        QCOMPARE(answer.size(), 4);
        QCOMPARE(answer.mid(0, 3), (QStringList{"none", "unsaved", "kept"}));
        qInfo("three keyring calls took %s ms", qPrintable(answer.at(3)));
    }
};

// Defined after the test class: moc misreads this raw string and would miss a class after it.
namespace {
const char* busConfig()
{
    return R"(<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:dir=%1</listen>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
)";
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc > 1 && qstrcmp(argv[1], "--probe") == 0)
        return probe();
    TestSecretServiceUnavailable test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_secretserviceunavailable.moc"
