#include "account/AccountManager.h"
#include "platform/MemoryPreferences.h"
#include "platform/Platform.h"
#include "platform/Preferences.h"
#include "platform/linux/SecretServiceStore.h"
#include "settings/AccountSection.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QLabel>
#include <QProcess>
#include <QTest>

// The token when the session's keyring is locked, as after an automatic login: gnome-keyring
// asks the user to unlock it (the prompt is answered here with xdotool, as a user would), the
// program goes on meanwhile and the settings say what it waits for.

namespace {

// The keyring item of the account token.
const QString tokenItem = QStringLiteral("Halvora.account-token");

// The password scripts/with-session gives the session's keyring.
const QString keyringPassword = QStringLiteral("halvora-session");
const QString loginCollection = QStringLiteral("/org/freedesktop/secrets/collection/login");

bool lockKeyring()
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.secrets"), QStringLiteral("/org/freedesktop/secrets"),
        QStringLiteral("org.freedesktop.Secret.Service"), QStringLiteral("Lock"));
    call << QVariant::fromValue(QList<QDBusObjectPath>{QDBusObjectPath(loginCollection)});
    return QDBusConnection::sessionBus().call(call).type() == QDBusMessage::ReplyMessage;
}

QString run(const QStringList& arguments)
{
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"), arguments);
    xdotool.waitForFinished(5000);
    return QString::fromUtf8(xdotool.readAllStandardOutput()).section(QLatin1Char('\n'), 0, 0).trimmed();
}

// Answers the keyring's unlock prompt: types the password, or presses Escape.
bool answerPrompt(bool unlock)
{
    QString window;
    for (int tries = 0; tries < 100 && window.isEmpty(); ++tries) {
        window = run({QStringLiteral("search"), QStringLiteral("--name"), QStringLiteral("^Unlock")});
        if (window.isEmpty())
            QTest::qWait(100);
    }
    if (window.isEmpty())
        return false;
    run({QStringLiteral("windowactivate"), QStringLiteral("--sync"), window});
    if (unlock) {
        run({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("10"), keyringPassword});
        run({QStringLiteral("key"), QStringLiteral("Return")});
    } else {
        run({QStringLiteral("key"), QStringLiteral("Escape")});
    }
    return true;
}

} // namespace

class TestKeyringLocked : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS") || qEnvironmentVariableIsEmpty("DISPLAY"))
            QSKIP("Needs the session of scripts/with-session (keyring, display)");
        Preferences::setInstance(std::make_unique<MemoryPreferences>());
        Platform::Services services;
        services.secretStore = std::make_shared<SecretServiceStore>();
        Platform::install(services);
    }

    void cleanupTestCase() { Platform::install({}); }

    // Whatever a case left, the next starts with the keyring open.
    void cleanup()
    {
        if (!SecretServiceStore().needsUnlock())
            return;
        bool answered = false;
        TaskHandle unlock =
            SecretServiceStore().unlockAndLoad(tokenItem, [&](const std::optional<QString>&) { answered = true; });
        QVERIFY(answerPrompt(true));
        QTRY_VERIFY_WITH_TIMEOUT(answered, 10000);
    }

    void theStoredTokenWaitsForTheUser_data()
    {
        QTest::addColumn<bool>("unlock");
        QTest::newRow("unlocked: signed in") << true;
        QTest::newRow("prompt dismissed: signed out") << false;
    }

    void theStoredTokenWaitsForTheUser()
    {
        QFETCH(bool, unlock);
        QVERIFY(SecretServiceStore().save(tokenItem, QStringLiteral("hv_locked")));
        QVERIFY(lockKeyring());
        QCOMPARE(SecretServiceStore().lookup(tokenItem).locked, true);

        AccountManager account;
        AccountSection section(account);
        QVERIFY(!account.token());
        QVERIFY(account.keyringLocked());
        QVERIFY(!section.keyringNote()->isHidden());

        QVERIFY(answerPrompt(unlock));
        QTRY_VERIFY_WITH_TIMEOUT(!account.keyringLocked(), 10000);
        QCOMPARE(account.token(), unlock ? std::optional<QString>(QStringLiteral("hv_locked")) : std::nullopt);
        QVERIFY(section.keyringNote()->isHidden());
    }

    void aTokenIsStoredOnceTheUserUnlocks()
    {
        QVERIFY(SecretServiceStore().save(tokenItem, QString()));
        QVERIFY(lockKeyring());
        QVERIFY(SecretServiceStore().needsUnlock());
        std::optional<bool> stored;
        TaskHandle save =
            SecretServiceStore().unlockAndSave(tokenItem, QStringLiteral(" hv_new\n"), [&](bool ok) { stored = ok; });
        QVERIFY(answerPrompt(true));
        QTRY_VERIFY_WITH_TIMEOUT(stored.has_value(), 10000);
        QVERIFY(*stored);
        QCOMPARE(SecretServiceStore().lookup(tokenItem).secret, std::optional<QString>(QStringLiteral("hv_new")));
        QVERIFY(SecretServiceStore().save(tokenItem, QString()));
    }
};

QTEST_MAIN(TestKeyringLocked)
#include "tst_keyringlocked.moc"
