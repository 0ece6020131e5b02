// A relay for a team, as real processes: where it agrees to listen, users managed from the
// command line, password sign-in and its slow-down, sessions ended by the administrator,
// per-user limits, and HTTPS all the way to the program's model client.
#include "RelayProcess.h"
#include "RelayTestHttp.h"
#include "model/ClaudeClient.h"
#include "model/ConversationHistory.h"
#include "support/TestRows.h"

#include <QFile>
#include <QNetworkAccessManager>
#include <QRegularExpression>
#include <QSslConfiguration>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <future>

using namespace RelayTestHttp;

namespace {

const QString annPassword = QStringLiteral("correct horse 1");
const QString wrongPage = QStringLiteral("The e-mail address or password is not correct.");

// Runs `halvora-relay user ARGS` with `input` on standard input; returns the exit status.
int userCommand(const QStringList& args, const QByteArray& input, QByteArray* output = nullptr)
{
    QProcess p;
    p.start(RelayProcess::executable(), QStringList{"user"} + args);
    p.write(input);
    p.closeWriteChannel();
    if (!p.waitForFinished(30000))
        return -1;
    if (output)
        *output = p.readAllStandardOutput() + p.readAllStandardError();
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

bool addUser(const RelayProcess& relay, const QString& email, const QString& password)
{
    return userCommand({"add", email, "--db", relay.databasePath()}, password.toUtf8() + "\n") == 0;
}

// A self-signed certificate for 127.0.0.1 and localhost, made with the openssl tool.
bool makeCertificate(const QString& dir)
{
    QProcess openssl;
    openssl.start("openssl", {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes",
                              "-keyout", dir + "/key.pem", "-out", dir + "/cert.pem", "-days", "2", "-subj",
                              "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1,DNS:localhost"});
    return openssl.waitForFinished(30000) && openssl.exitCode() == 0;
}

QString me(httplib::Client& c, const QString& token)
{
    auto r = c.Get("/api/me", {{"Authorization", "Bearer " + token.toStdString()}});
    return !r ? "no answer" : r->status == 200 ? json(r->body).value("email").toString() : QString::number(r->status);
}

// One turn of the program's model client against `base`, with a network of its own.
std::optional<TurnOutcome> modelTurn(const QUrl& base, const QString& token, QString* text)
{
    QNetworkAccessManager network;
    ClaudeClient model(base, nullptr, &network);
    text->clear();
    std::optional<TurnOutcome> outcome;
    const QJsonArray messages{QJsonObject{{"role", "user"}, {"content", "Hello over TLS"}}};
    TaskHandle turn = model.streamTurn(
        "You help.", messages, AIAction::explain(), token,
        [&](const ClaudeEvent& event) {
            if (event.kind == ClaudeEvent::Kind::TextDelta)
                *text += event.text;
        },
        [&](const TurnOutcome& result) { outcome = result; });
    if (!QTest::qWaitFor([&] { return outcome.has_value(); }, 30000))
        return std::nullopt;
    return outcome;
}

} // namespace

class TestRelayAccounts : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void listening_data();
    void listening();
    void userCommands();
    void passwordSignIn_data();
    void passwordSignIn();
    void guessingSlowsDown();
    void administratorEndsSessions();
    void perUserLimits();
    void streamSlotIsFreeOnceReadToTheEnd();
    void programTurnOverTls();

private:
    QTemporaryDir m_certs;
    RelayProcess m_relay; // --accounts, users ann and bob
};

void TestRelayAccounts::initTestCase()
{
    QVERIFY(makeCertificate(m_certs.path()));
    QVERIFY2(m_relay.start({"--accounts"}), qPrintable(m_relay.startMessage()));
    QVERIFY(addUser(m_relay, "Ann@Example.com", annPassword));
    QVERIFY(addUser(m_relay, "bob@example.com", "bobs password"));
}

void TestRelayAccounts::listening_data()
{
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<bool>("listens");
    addRow("every address, e-mail sign-in", "--bind 0.0.0.0", false);
    addRow("every address, accounts over plain HTTP", "--bind 0.0.0.0 --accounts", false);
    addRow("every address, TLS without accounts", "--bind 0.0.0.0 --tls-cert CERT --tls-key KEY", false);
    addRow("every IPv6 address, accounts over plain HTTP", "--bind :: --accounts", false);
    addRow("this computer behind a proxy, e-mail sign-in", "--behind-tls-proxy", false);
    addRow("certificate without key", "--tls-cert CERT", false);
    addRow("every address, accounts and TLS", "--bind 0.0.0.0 --accounts --tls-cert CERT --tls-key KEY", true);
    addRow("every address, accounts behind a proxy", "--bind 0.0.0.0 --accounts --behind-tls-proxy", true);
    addRow("this computer, e-mail sign-in", "--bind 127.0.0.1", true);
}

void TestRelayAccounts::listening()
{
    QFETCH(QString, arguments);
    QFETCH(bool, listens);
    QStringList args = arguments.split(' ');
    args.replaceInStrings("CERT", m_certs.filePath("cert.pem")).replaceInStrings("KEY", m_certs.filePath("key.pem"));
    RelayProcess relay;
    QCOMPARE(relay.start(args), listens);
    if (!listens) {
        QCOMPARE(relay.stop(), 2);
        QVERIFY2(relay.startMessage().contains("--"), qPrintable(relay.startMessage()));
    }
}

void TestRelayAccounts::userCommands()
{
    const QString db = m_relay.databasePath();
    QByteArray output;
    QCOMPARE(userCommand({"add", "bob@example.com", "--db", db}, "another password\n", &output), 1);
    QVERIFY(output.contains("already has a password"));
    QCOMPARE(userCommand({"add", "dan@example.com", "--db", db}, "short\n", &output), 1);
    QCOMPARE(userCommand({"add", "not-an-address", "--db", db}, "long enough\n"), 1);
    QCOMPARE(userCommand({"remove", "nobody@example.com", "--db", db}, ""), 1);
    QCOMPARE(userCommand({"passwd", "nobody@example.com", "--db", db}, "long enough\n"), 1);
    QCOMPARE(userCommand({"add", "--db", db}, ""), 2);     // no address
    QCOMPARE(userCommand({"add", "", "--db", db}, ""), 2); // an empty address is none
    QCOMPARE(userCommand({"list", "--db", db}, "", &output), 0);
    QVERIFY(output.contains("ann@example.com") && output.contains("bob@example.com"));
    QVERIFY(!output.contains("dan@example.com"));
    QVERIFY(!output.contains("argon2")); // hashes stay in the database
    QFile file(db);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QByteArray stored = file.readAll();
    QFile wal(db + "-wal");
    if (wal.open(QIODevice::ReadOnly))
        stored += wal.readAll();
    QVERIFY(stored.contains("$argon2id$"));
    QVERIFY(!stored.contains(annPassword.toUtf8()));
}

void TestRelayAccounts::passwordSignIn_data()
{
    QTest::addColumn<QString>("email");
    QTest::addColumn<QString>("password"); // null: no password field
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("pageText");
    addRow("right password", "ann@example.com", annPassword, 200, "Signing in as ann@example.com");
    addRow("address in capitals", "ANN@example.COM", annPassword, 200, "Signing in as ann@example.com");
    addRow("wrong password", "ann@example.com", "correct horse 2", 401, wrongPage);
    addRow("another user's password", "ann@example.com", "bobs password", 401, wrongPage);
    addRow("unknown address", "nobody@example.com", annPassword, 401, wrongPage);
    addRow("overlong password", "ann@example.com", QString(1500, 'x'), 401, wrongPage);
    addRow("e-mail alone", "ann@example.com", QString(), 400, "Enter your e-mail address and password.");
    addRow("no address", "", annPassword, 400, "Enter your e-mail address and password.");
}

void TestRelayAccounts::passwordSignIn()
{
    QFETCH(QString, email);
    QFETCH(QString, password);
    QFETCH(int, status);
    QFETCH(QString, pageText);
    auto c = client(m_relay.baseUrl());
    httplib::Result page = noResult();
    const QString token = signIn(*c, email, password, &page);
    QVERIFY(page);
    QCOMPARE(page->status, status);
    QVERIFY2(page->body.find(pageText.toStdString()) != std::string::npos, page->body.c_str());
    QCOMPARE(me(*c, token), status == 200 ? "ann@example.com" : "401");
    if (status != 200)
        QVERIFY(page->body.find("name=\"password\"") != std::string::npos); // the form, to try again
    const QByteArray log = m_relay.log();
    QVERIFY(!log.contains(annPassword.toUtf8()) && !log.contains("correct horse"));
    if (!token.isEmpty())
        QVERIFY(!log.contains(token.toUtf8()));
}

void TestRelayAccounts::guessingSlowsDown()
{
    RelayProcess relay;
    QVERIFY2(relay.start({"--accounts"}), qPrintable(relay.startMessage()));
    QVERIFY(addUser(relay, "ann@example.com", annPassword));
    QVERIFY(addUser(relay, "bob@example.com", "bobs password"));
    auto c = client(relay.baseUrl());
    httplib::Result page = noResult();
    for (int i = 0; i < 5; ++i)
        QVERIFY(signIn(*c, "ann@example.com", "guess " + QString::number(i)).isEmpty());
    // The right password no longer helps, and the refusal reads the same for an unknown address.
    QVERIFY(signIn(*c, "ann@example.com", annPassword, &page).isEmpty());
    QCOMPARE(page->status, 429);
    QVERIFY(std::stoi(page->get_header_value("Retry-After")) > 0);
    QVERIFY(page->body.find("Too many failed sign-in attempts. Try again in") != std::string::npos);
    for (int i = 0; i < 5; ++i)
        QVERIFY(signIn(*c, "nobody@example.com", "guess " + QString::number(i)).isEmpty());
    QVERIFY(signIn(*c, "nobody@example.com", annPassword, &page).isEmpty());
    QCOMPARE(page->status, 429);

    // Other accounts from the same address go on, until the address has failed too often.
    QVERIFY(!signIn(*c, "bob@example.com", "bobs password").isEmpty());
    for (int i = 0; i < 10; ++i)
        QVERIFY(signIn(*c, QString("user%1@example.com").arg(i), "guess").isEmpty());
    QVERIFY(signIn(*c, "bob@example.com", "bobs password", &page).isEmpty());
    QCOMPARE(page->status, 429);
}

void TestRelayAccounts::administratorEndsSessions()
{
    const QString db = m_relay.databasePath();
    QVERIFY(addUser(m_relay, "carol@example.com", "carols password"));
    auto c = client(m_relay.baseUrl());
    const QString first = signIn(*c, "carol@example.com", "carols password");
    QCOMPARE(me(*c, first), "carol@example.com");

    QCOMPARE(userCommand({"passwd", "carol@example.com", "--db", db}, "carols new password\n"), 0);
    QCOMPARE(me(*c, first), "401");
    QVERIFY(signIn(*c, "carol@example.com", "carols password").isEmpty());
    const QString second = signIn(*c, "carol@example.com", "carols new password");
    QCOMPARE(me(*c, second), "carol@example.com");
    auto stream = c->Post("/api/ai/messages", modelHeaders(second), modelBody("Hello"), "application/json");
    QCOMPARE(stream->status, 200);

    QCOMPARE(userCommand({"remove", "carol@example.com", "--db", db}, ""), 0);
    QCOMPARE(me(*c, second), "401");
    stream = c->Post("/api/ai/messages", modelHeaders(second), modelBody("Hello"), "application/json");
    QCOMPARE(stream->status, 401);
    httplib::Result page = noResult();
    QVERIFY(signIn(*c, "carol@example.com", "carols new password", &page).isEmpty());
    QVERIFY(page->body.find(wrongPage.toStdString()) != std::string::npos);
}

void TestRelayAccounts::perUserLimits()
{
    RelayProcess relay;
    QVERIFY(relay.start({"--pace", "150", "--max-streams", "1", "--requests-per-minute", "3"}));
    auto c = client(relay.baseUrl());
    const QString ann = signIn(*c, "ann@example.com");
    const QString bob = signIn(*c, "bob@example.com");
    auto send = [&](const QString& token) {
        auto answer = client(relay.baseUrl())
                          ->Post("/api/ai/messages", modelHeaders(token), modelBody("Hello"), "application/json");
        return answer ? answer->status : 0;
    };
    auto limitError = [&](const QString& token, const char* retryAfterAtLeast) {
        auto answer = c->Post("/api/ai/messages", modelHeaders(token), modelBody("Hello"), "application/json");
        QJsonObject error = json(answer->body).value("error").toObject();
        return QString("%1 %2 %3")
            .arg(answer->status)
            .arg(error.value("type").toString())
            .arg(std::stoi("0" + answer->get_header_value("Retry-After")) >= std::stoi(retryAfterAtLeast));
    };

    std::atomic<bool> streaming{false};
    auto first = streamInBackground(relay.baseUrl(), ann, QStringLiteral("Hello"), streaming);
    QTRY_VERIFY(streaming.load());
    QCOMPARE(limitError(ann, "1"), "429 rate_limit_error 1"); // one stream at a time
    QCOMPARE(send(bob), 200);                                 // others are not held up
    QCOMPARE(first.get(), 200);
    QCOMPARE(send(ann), 200);
    QCOMPARE(send(ann), 200);
    QCOMPARE(limitError(ann, "30"), "429 rate_limit_error 1"); // three a minute

    // One line per request, with the user's id and never the token.
    const QByteArray log = relay.log();
    QVERIFY(log.contains("POST /api/ai/messages 429"));
    QVERIFY(QRegularExpression(R"(POST /api/ai/messages 200 [0-9.]+ms user=\d+\n)")
                .match(QString::fromUtf8(log))
                .hasMatch());
    QVERIFY(!log.contains(ann.toUtf8()) && !log.contains(bob.toUtf8()));
}

// A client that starts its next request as soon as it has read an answer to the end finds its
// stream slot free again, however quickly it asks.
void TestRelayAccounts::streamSlotIsFreeOnceReadToTheEnd()
{
    RelayProcess relay;
    QVERIFY(relay.start({"--pace", "0", "--max-streams", "1", "--requests-per-minute", "1000"}));
    auto c = client(relay.baseUrl());
    const QString ann = signIn(*c, "ann@example.com");
    for (int i = 0; i < 100; ++i) {
        auto answer = c->Post("/api/ai/messages", modelHeaders(ann), modelBody("Hello"), "application/json");
        QVERIFY(answer);
        QVERIFY2(answer->status == 200, qPrintable(QStringLiteral("request %1: %2").arg(i).arg(answer->status)));
    }
}

void TestRelayAccounts::programTurnOverTls()
{
    const QString ca = m_certs.filePath("cert.pem");
    RelayProcess relay;
    QVERIFY2(relay.start({"--tls-cert", ca, "--tls-key", m_certs.filePath("key.pem")}),
             qPrintable(relay.startMessage()));
    QCOMPARE(relay.baseUrl().scheme(), "https");
    auto plain = client(QUrl("http://127.0.0.1:" + QString::number(relay.port())))->Get("/api/me");
    QVERIFY(!plain); // nothing is answered in clear text
    const QString token = signIn(*client(relay.baseUrl(), ca), "tls@example.com");
    QVERIFY(!token.isEmpty());

    // Until the certificate is trusted, the program refuses the relay (a network failure, not a sign-out).
    QString text;
    auto outcome = modelTurn(relay.baseUrl(), token, &text);
    QVERIFY(outcome && std::holds_alternative<TurnError>(*outcome));
    QCOMPARE(std::get<TurnError>(*outcome).kind(), TurnError::Kind::Network);

    // Trusted the way the program trusts any authority: in the process's default TLS configuration,
    // which starts out as the system's store.
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    QVERIFY(tls.addCaCertificates(ca));
    QSslConfiguration::setDefaultConfiguration(tls);
    outcome = modelTurn(relay.baseUrl(), token, &text);
    QVERIFY(outcome);
    const auto* error = std::get_if<TurnError>(&*outcome);
    QVERIFY2(!error, error ? qPrintable(error->message()) : "");
    const auto* result = std::get_if<TurnResult>(&*outcome);
    QVERIFY(!text.isEmpty());
    QCOMPARE(ConversationHistory::text(result->content), text);
}

QTEST_GUILESS_MAIN(TestRelayAccounts)
#include "tst_relayaccounts.moc"
