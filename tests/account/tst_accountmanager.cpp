#include "RelayProcess.h"
#include "RelayScenario.h"
#include "account/AccountManager.h"
#include "platform/MemoryPreferences.h"
#include "platform/PreferenceKeys.h"
#include "platform/Preferences.h"
#include "platform/fake/FakePlatform.h"

#include <QDirIterator>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QUrlQuery>

namespace {

const QString mismatch = QStringLiteral("That sign-in link doesn't match this computer. Choose Sign In again.");

// Plays the browser: loads the login page, posts its form and returns the halvora:// link it shows.
QUrl browserSignIn(const QUrl& loginUrl, const QString& email = QStringLiteral("ada@example.com"))
{
    QNetworkAccessManager network;
    QNetworkReply* page = network.get(QNetworkRequest(loginUrl));
    QSignalSpy pageDone(page, &QNetworkReply::finished);
    if (!pageDone.wait(5000))
        return {};
    const QString html = QString::fromUtf8(page->readAll());
    const QString formToken = QRegularExpression(R"re(name="form_token" value="([^"]+)")re").match(html).captured(1);
    QUrlQuery form;
    form.addQueryItem("email", email);
    form.addQueryItem("state", QUrlQuery(loginUrl).queryItemValue("state"));
    form.addQueryItem("client", "app");
    form.addQueryItem("form_token", formToken);
    QNetworkRequest post(loginUrl.adjusted(QUrl::RemoveQuery));
    post.setHeader(QNetworkRequest::ContentTypeHeader, "application/x-www-form-urlencoded");
    QNetworkReply* linkPage = network.post(post, form.toString(QUrl::FullyEncoded).toUtf8());
    QSignalSpy linkDone(linkPage, &QNetworkReply::finished);
    if (!linkDone.wait(5000))
        return {};
    const auto link =
        QRegularExpression(R"re(halvora://auth\?[^"'<\s]+)re").match(QString::fromUtf8(linkPage->readAll()));
    return QUrl(link.captured(0).replace("&amp;", "&"));
}

// True when some file under the session's home or XDG folders contains the bytes.
bool foundInFiles(const QByteArray& needle)
{
    for (const char* var : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"}) {
        QDirIterator it(qEnvironmentVariable(var), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            if (file.open(QIODevice::ReadOnly) && file.readAll().contains(needle))
                return true;
        }
    }
    return false;
}

} // namespace

class TestAccountManager : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<FakePlatform> m_platform;
    std::unique_ptr<RelayProcess> m_relay;
    std::unique_ptr<RelayScenario> m_scenario;

    bool startRelay()
    {
        m_relay = std::make_unique<RelayProcess>();
        if (!m_relay->startScenario(m_scenario->dir()))
            return false;
        Preferences::instance().setValue(PreferenceKeys::serverURL, m_relay->baseUrl().toString());
        return true;
    }

    std::optional<QString> storedToken() const { return m_platform->secrets->item(AccountManager::tokenService()); }

    QUrl lastOpened() const
    {
        return m_platform->workspace->openedUrls.value(m_platform->workspace->openedUrls.size() - 1);
    }

private Q_SLOTS:
    void init()
    {
        Preferences::setInstance(std::make_unique<MemoryPreferences>());
        m_platform = std::make_unique<FakePlatform>();
        m_scenario = std::make_unique<RelayScenario>();
    }

    void cleanup()
    {
        m_relay.reset();
        m_platform.reset();
    }

    void signInRefreshAndSignOutAgainstTheRelay()
    {
        QVERIFY(startRelay());
        AccountManager account;
        account.signIn();
        QVERIFY(account.isSigningIn());
        const QUrl login = lastOpened();
        QCOMPARE(login.adjusted(QUrl::RemoveQuery), m_relay->baseUrl().resolved(QUrl("login")));
        const auto items = QUrlQuery(login).queryItems();
        QCOMPARE(items.size(), 2);
        QCOMPARE(items[0], qMakePair(QString("client"), QString("app")));
        QCOMPARE(items[1].first, QString("state"));
        QVERIFY(QRegularExpression("^[A-Za-z0-9_-]{32}$").match(items[1].second).hasMatch());

        QSignalSpy announced(&account, &AccountManager::signedIn);
        account.handle(browserSignIn(login));
        QTRY_COMPARE_WITH_TIMEOUT(announced.size(), 1, 5000);
        QCOMPARE(announced.first().first().toString(), QString("Signed in to Halvora"));
        QCOMPARE(account.email(), QString("ada@example.com"));
        QVERIFY(!account.isSigningIn());
        QCOMPARE(storedToken(), account.token());
        QVERIFY(!foundInFiles(account.token()->toUtf8()));

        const QString token = *account.token();
        account.signOut();
        QVERIFY(!account.token() && !account.email() && !storedToken());
        QVERIFY(!Preferences::instance().contains(PreferenceKeys::accountEmail));
        QTRY_VERIFY_WITH_TIMEOUT(m_relay->recordedRequests().last().value("path") == "/api/auth/logout", 5000);
        const QJsonObject logout = m_relay->recordedRequests().last();
        QCOMPARE(logout.value("headers").toObject().value("authorization").toString(), "Bearer " + token);
    }

    void callbacks_data()
    {
        QTest::addColumn<int>("signIns");
        QTest::addColumn<QString>("callback"); // "" = the browser's link; "twice" = it used twice
        QTest::addColumn<QString>("expectedError");
        QTest::addColumn<bool>("signingIn");
        QTest::newRow("first of two sign-ins") << 2 << "first" << mismatch << false;
        QTest::newRow("same link twice") << 1 << "twice" << mismatch << false;
        QTest::newRow("no code") << 1 << "halvora://auth?state=STATE" << mismatch << false;
        QTest::newRow("other host ignored") << 1 << "halvora://other?code=C&state=STATE" << QString() << true;
        QTest::newRow("no sign-in started") << 0 << "halvora://auth?code=C&state=S" << mismatch << false;
    }

    void callbacks()
    {
        QFETCH(int, signIns);
        QFETCH(QString, callback);
        QVERIFY(startRelay());
        AccountManager account;
        QList<QUrl> logins;
        for (int i = 0; i < signIns; ++i) {
            account.signIn();
            logins << lastOpened();
        }
        const QString pending = Preferences::instance().value(PreferenceKeys::pendingSignInState).toString();
        if (callback == "first") {
            account.handle(browserSignIn(logins.first()));
        } else if (callback == "twice") {
            const QUrl link = browserSignIn(logins.first());
            account.handle(link);
            QTRY_VERIFY_WITH_TIMEOUT(account.token().has_value(), 5000);
            account.handle(link);
        } else {
            account.handle(QUrl(QString(callback).replace("STATE", pending)));
        }
        QTEST(account.lastErrorText(), "expectedError");
        QTEST(account.isSigningIn(), "signingIn");
        if (callback != "twice" && signIns > 0)
            QVERIFY2(!account.token(), "a rejected link must not sign in");
        if (callback.startsWith("halvora://auth?state"))
            QCOMPARE(Preferences::instance().value(PreferenceKeys::pendingSignInState).toString(), pending);
    }

    void mismatchThenMatchingLinkSignsIn()
    {
        QVERIFY(startRelay());
        AccountManager account;
        account.signIn();
        account.handle(QUrl("halvora://auth?code=C&state=wrong"));
        account.handle(browserSignIn(lastOpened()));
        QTRY_VERIFY_WITH_TIMEOUT(account.token().has_value(), 5000);
        QCOMPARE(account.lastErrorText(), mismatch);
    }

    void failedExchange_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("expected");
        QTest::newRow("error member") << 400 << QByteArray(R"({"error":"That link has expired."})")
                                      << "That link has expired.";
        QTest::newRow("no error member") << 500 << QByteArray("oops") << "Sign-in failed. Please try again.";
        QTest::newRow("200 without email") << 200 << QByteArray(R"({"token":"abc"})")
                                           << "The data couldn’t be read because it isn’t in the correct format.";
    }

    void failedExchange()
    {
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(QString, expected);
        m_scenario->addResponse(status, body, {}, "api/auth/app/exchange");
        QVERIFY(startRelay());
        AccountManager account;
        account.signIn();
        const QString state = Preferences::instance().value(PreferenceKeys::pendingSignInState).toString();
        account.handle(QUrl("halvora://auth?code=C&state=" + state));
        QTRY_COMPARE_WITH_TIMEOUT(account.lastErrorText(), expected, 5000);
        QVERIFY(!account.isSigningIn());
        QVERIFY(!account.token() && !storedToken());
    }

    // The service answered 200 and the connection broke inside the announced body: the user
    // hears about the network, not about an answer that could not be read.
    void exchangeCutInsideItsBodyIsANetworkError()
    {
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        connect(&server, &QTcpServer::newConnection, this, [&server] {
            QTcpSocket* socket = server.nextPendingConnection();
            connect(socket, &QTcpSocket::readyRead, socket, [socket] {
                if (!socket->readAll().contains("\r\n\r\n"))
                    return;
                socket->write("HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: 400\r\n\r\n"
                              "{\"token\":\"abc\",");
                socket->flush();
                socket->disconnectFromHost();
            });
        });
        Preferences::instance().setValue(PreferenceKeys::serverURL,
                                         QStringLiteral("http://127.0.0.1:%1").arg(server.serverPort()));
        AccountManager account;
        account.signIn();
        const QString state = Preferences::instance().value(PreferenceKeys::pendingSignInState).toString();
        account.handle(QUrl("halvora://auth?code=C&state=" + state));
        QTRY_VERIFY_WITH_TIMEOUT(!account.isSigningIn(), 5000);
        QVERIFY2(!account.lastErrorText().contains(QStringLiteral("correct format")),
                 qPrintable(account.lastErrorText()));
        QVERIFY2(account.lastErrorText().contains(QStringLiteral("closed"), Qt::CaseInsensitive),
                 qPrintable(account.lastErrorText()));
        QVERIFY(!account.token() && !storedToken());
    }

    void refreshAnswers_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("signedIn");
        QTest::addColumn<QString>("expectedError");
        QTest::newRow("500 keeps the session") << 500 << true << QString();
        QTest::newRow("401 ends it") << 401 << false << "You've been signed out. Sign in again to keep using Halvora.";
    }

    void refreshAnswers()
    {
        QFETCH(int, status);
        QFETCH(bool, signedIn);
        m_scenario->addResponse(status, R"({"error":"x"})", {}, "api/me");
        QVERIFY(startRelay());
        m_platform->secrets->setItem(AccountManager::tokenService(), "stale-token");
        Preferences::instance().setValue(PreferenceKeys::accountEmail, QString("ada@example.com"));
        AccountManager account;
        bool done = false;
        account.refresh([&] { done = true; });
        QTRY_VERIFY_WITH_TIMEOUT(done, 5000);
        QCOMPARE(account.token().has_value(), signedIn);
        QCOMPARE(account.email().has_value(), signedIn);
        QCOMPARE(storedToken().has_value(), signedIn);
        QTEST(account.lastErrorText(), "expectedError");
    }

    void keyringAtStart_data()
    {
        QTest::addColumn<QString>("keyring"); // "open", "locked" or "none" (no Secret Service)
        QTest::addColumn<bool>("unlock");     // how the user answers the unlock prompt
        QTest::addColumn<bool>("waits");
        QTest::addColumn<bool>("signedIn");
        QTest::newRow("open keyring") << "open" << false << false << true;
        QTest::newRow("locked, the user unlocks") << "locked" << true << true << true;
        QTest::newRow("locked, the user dismisses the prompt") << "locked" << false << true << false;
        QTest::newRow("no Secret Service") << "none" << false << false << false;
    }

    void keyringAtStart()
    {
        QFETCH(QString, keyring);
        QFETCH(bool, unlock);
        QFETCH(bool, waits);
        FakeSecretStore& secrets = *m_platform->secrets;
        secrets.setItem(AccountManager::tokenService(), "hv_stored");
        secrets.setItem(AccountManager::legacyApiKeyService(), "sk-old");
        secrets.setLocked(keyring == "locked");
        secrets.setAvailable(keyring != "none");

        AccountManager account;
        QSignalSpy tokenChanged(&account, &AccountManager::tokenChanged);
        QCOMPARE(account.keyringLocked(), waits);
        QCOMPARE(secrets.openPrompts(), waits ? 1 : 0);
        if (waits) {
            QVERIFY(!account.token());
            QVERIFY(secrets.answerPrompt(unlock));
            QVERIFY(!account.keyringLocked());
        }
        QTEST(account.token().has_value(), "signedIn");
        if (account.token())
            QCOMPARE(*account.token(), "hv_stored");
        QCOMPARE(tokenChanged.size(), waits && unlock ? 1 : 0);
        // What earlier versions stored goes as soon as the keyring lets it.
        QCOMPARE(secrets.item(AccountManager::legacyApiKeyService()).has_value(), keyring != "open");
    }

    void signInWhileTheKeyringIsLocked_data()
    {
        QTest::addColumn<QString>("answer"); // "unlock", "dismiss", or "sign out" before answering
        QTest::addColumn<bool>("stored");
        QTest::addColumn<bool>("signedIn");
        QTest::newRow("the user unlocks: stored") << "unlock" << true << true;
        QTest::newRow("the user dismisses: signed in, not stored") << "dismiss" << false << true;
        QTest::newRow("signed out first: the prompt goes") << "sign out" << false << false;
    }

    void signInWhileTheKeyringIsLocked()
    {
        QFETCH(QString, answer);
        QVERIFY(startRelay());
        FakeSecretStore& secrets = *m_platform->secrets;
        secrets.setLocked(true);
        AccountManager account;
        QVERIFY(!account.keyringLocked());
        account.signIn();
        account.handle(browserSignIn(lastOpened()));
        QTRY_VERIFY_WITH_TIMEOUT(account.token().has_value(), 5000);
        QVERIFY(account.keyringLocked());
        QVERIFY(!storedToken());
        QCOMPARE(secrets.openPrompts(), 1);
        const QString token = *account.token();
        if (answer == "sign out") {
            account.signOut();
            QCOMPARE(secrets.openPrompts(), 0);
            QVERIFY(!secrets.answerPrompt(true));
        } else {
            QVERIFY(secrets.answerPrompt(answer == "unlock"));
        }
        QVERIFY(!account.keyringLocked());
        QTEST(account.token().has_value(), "signedIn");
        QFETCH(bool, stored);
        QCOMPARE(storedToken(), stored ? std::optional<QString>(token) : std::nullopt);
    }

    void serverUrl_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QUrl>("expected");
        const QUrl builtIn = AccountManager::builtInServerURL();
        QTest::newRow("missing") << QVariant() << builtIn;
        QTest::newRow("valid") << QVariant("https://example.com/relay/") << QUrl("https://example.com/relay/");
        QTest::newRow("not a URL") << QVariant("ht tp://bad host") << builtIn;
    }

    void serverUrl()
    {
        QFETCH(QVariant, stored);
        if (stored.isValid())
            Preferences::instance().setValue(PreferenceKeys::serverURL, stored);
        QTEST(AccountManager::serverURL(), "expected");
    }
};

QTEST_GUILESS_MAIN(TestAccountManager)
#include "tst_accountmanager.moc"
