// Two relay processes sharing one private PostgreSQL server, as a team would run them behind a
// load balancer: whatever one relay does to a session, the other sees at once, and either
// serves every user.
#include "Database.h"
#include "PostgresServer.h"
#include "RelayProcess.h"
#include "RelayTestHttp.h"
#include "support/TestRows.h"

#include <QRegularExpression>
#include <QTest>
#include <atomic>
#include <future>

using namespace RelayTestHttp;

namespace {

const QString annPassword = QStringLiteral("anns password");

QString me(httplib::Client& c, const QString& token)
{
    auto r = c.Get("/api/me", {{"Authorization", "Bearer " + token.toStdString()}});
    return !r ? "no answer" : r->status == 200 ? json(r->body).value("email").toString() : QString::number(r->status);
}

// The status and streamed text of one demo model request.
QString turn(httplib::Client& c, const QString& token)
{
    auto r = c.Post("/api/ai/messages", modelHeaders(token), modelBody("Hello"), "application/json");
    if (!r)
        return "no answer";
    return QString::number(r->status) + (streamedText(dataObjects(r->body)).isEmpty() ? "" : " text");
}

int userCommand(const QStringList& args, const QByteArray& input = QByteArray())
{
    QProcess p;
    p.start(RelayProcess::executable(), QStringList{"user"} + args);
    p.write(input);
    p.closeWriteChannel();
    return p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

} // namespace

class TestRelayPostgres : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void signInOnOneStreamOnTheOther();
    void endingASessionOnOneEndsItOnBoth_data();
    void endingASessionOnOneEndsItOnBoth();
    void badInputChangesNothing_data();
    void badInputChangesNothing();
    void schemaIsVersioned();
    void relayStoppedMidStream();

private:
    QString addUser(const QString& email);
    QString snapshot();

    PostgresServer m_server;
    RelayProcess m_first;
    RelayProcess m_second;
    std::unique_ptr<Database> m_db; // the tests' own look at what the relays stored
};

void TestRelayPostgres::initTestCase()
{
    QString error;
    QVERIFY2(m_server.start(&error), qPrintable(error));
    // Both relays start at once on the empty database: one creates the tables, the other waits.
    QProcess racer;
    racer.start(RelayProcess::executable(), {"user", "list", "--db", m_server.url()});
    const QStringList common{"--accounts", "--db", m_server.url()};
    QVERIFY2(m_first.start(common + QStringList{"--pace", "50"}), qPrintable(m_first.startMessage()));
    QVERIFY2(m_second.start(common), qPrintable(m_second.startMessage()));
    QVERIFY(racer.waitForFinished(30000) && racer.exitCode() == 0);
    std::string dbError;
    m_db = Database::open(m_server.url().toStdString(), &dbError);
    QVERIFY2(m_db, dbError.c_str());
    QCOMPARE(addUser("ann@example.com"), "0");
}

QString TestRelayPostgres::addUser(const QString& email)
{
    return QString::number(userCommand({"add", email, "--db", m_server.url()}, annPassword.toUtf8() + "\n"));
}

// What the relays keep about users and sessions (failed sign-in counts aside).
QString TestRelayPostgres::snapshot()
{
    auto r =
        m_db->run("SELECT (SELECT count(*) FROM users), (SELECT count(*) FROM sessions), "
                  "(SELECT count(*) FROM sessions WHERE revoked = 0), (SELECT count(*) FROM codes WHERE used = 0), "
                  "(SELECT coalesce(string_agg(email || password_hash, ',' ORDER BY id), '') FROM users)");
    return r.ok ? QString::fromStdString(r.text(0, 0) + " " + r.text(0, 1) + " " + r.text(0, 2) + " " + r.text(0, 3) +
                                         " " + r.text(0, 4))
                : QString::fromStdString(r.error);
}

void TestRelayPostgres::signInOnOneStreamOnTheOther()
{
    auto one = client(m_first.baseUrl());
    auto other = client(m_second.baseUrl());
    // The login page of one relay and its form posted to the other, as a balancer may send them.
    const std::string state = "balanced-state";
    httplib::Result page = one->Get("/login?client=app&state=" + state);
    QCOMPARE(page->status, 200);
    const QString token = signIn(*other, "ann@example.com", annPassword);
    QVERIFY(!token.isEmpty());
    QCOMPARE(me(*one, token), "ann@example.com");
    QCOMPARE(turn(*other, token), "200 text");
    QCOMPARE(turn(*one, token), "200 text");
}

void TestRelayPostgres::endingASessionOnOneEndsItOnBoth_data()
{
    QTest::addColumn<QString>("ending");
    addRow("signing out", "logout");
    addRow("changing the password", "passwd");
    addRow("removing the user", "remove");
}

void TestRelayPostgres::endingASessionOnOneEndsItOnBoth()
{
    QFETCH(QString, ending);
    const QString email = "leaver-" + ending + "@example.com";
    QCOMPARE(addUser(email), "0");
    auto one = client(m_first.baseUrl());
    auto other = client(m_second.baseUrl());
    const QString token = signIn(*one, email, annPassword);
    const QString bystander = signIn(*one, "ann@example.com", annPassword);
    QCOMPARE(me(*other, token), email);

    if (ending == "logout")
        QCOMPARE(
            one->Post("/api/auth/logout", {{"Authorization", "Bearer " + token.toStdString()}}, "", "application/json")
                ->status,
            200);
    else
        QCOMPARE(userCommand({ending, email, "--db", m_server.url()}, "a new password\n"), 0);
    QCOMPARE(me(*other, token), "401");
    QCOMPARE(turn(*other, token), "401");
    QCOMPARE(me(*other, bystander), "ann@example.com");
}

void TestRelayPostgres::badInputChangesNothing_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<int>("status");
    addRow("wrong password", "wrong-password", 401);
    addRow("unknown user", "unknown-user", 401);
    addRow("huge sign-in form", "huge-form", 413);
    addRow("long address", "long-address", 400);
    addRow("malformed exchange", "malformed-exchange", 400);
    addRow("replayed code", "replayed-code", 400);
    addRow("malformed model request", "malformed-request", 400);
    addRow("unknown token", "unknown-token", 401);
}

void TestRelayPostgres::badInputChangesNothing()
{
    QFETCH(QString, input);
    auto one = client(m_first.baseUrl());
    auto other = client(m_second.baseUrl());
    const std::string state = "bad-input-" + input.toStdString();
    httplib::Result page = noResult();
    QString code;
    const QString token = signIn(*one, "ann@example.com", annPassword);
    if (input == "replayed-code") {
        code = signInCode(*one, state, "ann@example.com", annPassword, &page);
        QCOMPARE(exchangeCode(*one, code, state)->status, 200);
    }
    const QString before = snapshot();

    auto answer = [&]() -> httplib::Result {
        if (input == "wrong-password" || input == "unknown-user") {
            signIn(*other, input == "unknown-user" ? "nobody@example.com" : "ann@example.com", "not the password",
                   &page);
            return std::move(page);
        }
        if (input == "huge-form" || input == "long-address") {
            auto login = other->Get("/login?client=app&state=" + state);
            auto formToken = QRegularExpression(R"re(name="form_token" value="([^"]+)")re")
                                 .match(QString::fromStdString(login->body))
                                 .captured(1);
            const std::string email(input == "huge-form" ? 9 << 20 : 4000, 'a');
            return other->Post("/login", httplib::Params{{"email", email + "@example.com"},
                                                         {"password", "x"},
                                                         {"state", state},
                                                         {"client", "app"},
                                                         {"form_token", formToken.toStdString()}});
        }
        if (input == "malformed-exchange")
            return other->Post("/api/auth/app/exchange", R"({"code": "abc", "state": )", "application/json");
        if (input == "replayed-code")
            return exchangeCode(*other, code, state);
        if (input == "malformed-request")
            return other->Post("/api/ai/messages", modelHeaders(token), R"({"messages": [}")", "application/json");
        return other->Post("/api/ai/messages", modelHeaders("0123456789abcdefghijklmnopqrstuvwxyzABCDEFG"),
                           modelBody("Hello"), "application/json");
    }();
    QVERIFY(answer);
    QTEST(answer->status, "status");
    QVERIFY(!answer->body.empty()); // a page or an error body saying what went wrong
    QCOMPARE(snapshot(), before);
    QCOMPARE(me(*one, token), "ann@example.com");
}

void TestRelayPostgres::schemaIsVersioned()
{
    auto version = m_db->run("SELECT version FROM schema_version");
    QVERIFY(version.ok);
    QCOMPARE(version.rows.size(), std::size_t(1));
    QCOMPARE(version.text(0, 0), "2");
    // A database from a newer relay is refused rather than misread.
    QVERIFY(m_db->run("UPDATE schema_version SET version = 99").ok);
    RelayProcess newer;
    QVERIFY(!newer.start({"--db", m_server.url()}));
    QVERIFY2(newer.startMessage().contains("newer relay"), qPrintable(newer.startMessage()));
    QVERIFY(m_db->run("UPDATE schema_version SET version = 2").ok);
}

void TestRelayPostgres::relayStoppedMidStream()
{
    const QString token = signIn(*client(m_first.baseUrl()), "ann@example.com", annPassword);
    std::atomic<bool> streaming{false};
    auto cut = streamInBackground(m_first.baseUrl(), token, QStringLiteral("A long answer, please"), streaming);
    QTRY_VERIFY(streaming.load());
    QCOMPARE(m_first.stop(), 0);
    cut.wait();
    auto other = client(m_second.baseUrl());
    QCOMPARE(turn(*other, token), "200 text");
    QCOMPARE(me(*other, token), "ann@example.com");
}

QTEST_GUILESS_MAIN(TestRelayPostgres)
#include "tst_relaypostgres.moc"
