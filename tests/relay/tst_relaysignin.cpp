// Browser sign-in against the real relay process: login page, form, callback address, code
// exchange, "api/me", logout and the account page.
#include "RelayProcess.h"
#include "RelayTestHttp.h"
#include "support/TestRows.h"

#include <QCryptographicHash>
#include <QFile>
#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <sqlite3.h>

using namespace RelayTestHttp;

namespace {

QString formToken(const std::string& page)
{
    return QRegularExpression(R"re(name="form_token" value="([^"]+)")re")
        .match(QString::fromStdString(page))
        .captured(1);
}

// Submits the login form for `state`; returns the page the relay answered with.
httplib::Result postLogin(httplib::Client& c, const std::string& state, const std::string& email,
                          const std::string& token)
{
    return c.Post("/login",
                  httplib::Params{{"email", email}, {"state", state}, {"client", "app"}, {"form_token", token}});
}

// The code of a fresh sign-in link for `state`.
QString freshCode(httplib::Client& c, const std::string& state)
{
    auto page = c.Get("/login?client=app&state=" + state);
    auto link = postLogin(c, state, "user@example.com", formToken(page->body).toStdString());
    return QRegularExpression(R"re(halvora://auth\?code=([^&"]+))re")
        .match(QString::fromStdString(link->body))
        .captured(1);
}

httplib::Result exchange(httplib::Client& c, const QString& code, const QString& state)
{
    QByteArray body = QJsonDocument(QJsonObject{{"code", code}, {"state", state}}).toJson();
    return c.Post("/api/auth/app/exchange", body.toStdString(), "application/json");
}

void expireAllCodes(const QString& dbPath)
{
    sqlite3* db = nullptr;
    QCOMPARE(sqlite3_open(dbPath.toUtf8().constData(), &db), SQLITE_OK);
    sqlite3_busy_timeout(db, 5000);
    QCOMPARE(sqlite3_exec(db, "UPDATE codes SET expires_at = 0", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestRelaySignIn : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void fullSignIn();
    void exchangeFailures_data();
    void exchangeFailures();
    void loginRejects_data();
    void loginRejects();
    void meRejects_data();
    void meRejects();
    void accountPageRevokes();
    void accountPageRefusesOtherHosts();
    void databaseIsPrivate();
    void upgradesAnOlderDatabase();

private:
    RelayProcess m_relay;
};

void TestRelaySignIn::initTestCase()
{
    QVERIFY2(m_relay.startDemo(), qPrintable(m_relay.startMessage()));
}

void TestRelaySignIn::fullSignIn()
{
    auto c = client(m_relay);
    auto page = c->Get("/login?client=app&state=s-123_AB");
    QVERIFY(page);
    QCOMPARE(page->status, 200);
    QVERIFY(page->get_header_value("Content-Type").starts_with("text/html"));
    QVERIFY(page->get_header_value("Content-Security-Policy").find("default-src 'none'") != std::string::npos);
    QVERIFY(page->body.find("<script") == std::string::npos);
    QVERIFY(page->body.find("name=\"email\"") != std::string::npos);

    auto link = postLogin(*c, "s-123_AB", "me@example.com", formToken(page->body).toStdString());
    QCOMPARE(link->status, 200);
    QRegularExpression callback(R"re(halvora://auth\?code=([A-Za-z0-9_-]+)&amp;state=([^"]+))re");
    auto refresh = QRegularExpression(R"re(http-equiv="refresh" content="0;url=([^"]+)")re")
                       .match(QString::fromStdString(link->body));
    auto anchor =
        QRegularExpression(R"re(<a id="callback" href="([^"]+)")re").match(QString::fromStdString(link->body));
    QVERIFY(refresh.hasMatch() && anchor.hasMatch());
    QCOMPARE(refresh.captured(1), anchor.captured(1)); // the visible link is the redirect address
    auto parts = callback.match(anchor.captured(1));
    QVERIFY(parts.hasMatch());
    QCOMPARE(parts.captured(2), "s-123_AB");
    const QString code = parts.captured(1);
    QVERIFY(code.size() >= 22); // at least 128 random bits

    auto exchanged = exchange(*c, code, "s-123_AB");
    QCOMPARE(exchanged->status, 200);
    QJsonObject answer = json(exchanged->body);
    QCOMPARE(answer.value("email").toString(), "me@example.com");
    const QString token = answer.value("token").toString();
    QVERIFY(token.size() >= 43); // at least 256 random bits

    httplib::Headers auth{{"Authorization", "Bearer " + token.toStdString()}};
    auto me = c->Get("/api/me", auth);
    QCOMPARE(me->status, 200);
    QCOMPARE(json(me->body).value("email").toString(), "me@example.com");

    QCOMPARE(c->Post("/api/auth/logout", auth, "", "application/json")->status, 200);
    auto after = c->Get("/api/me", auth);
    QCOMPARE(after->status, 401);
    QVERIFY(json(after->body).value("error").isString());
    QCOMPARE(c->Post("/api/auth/logout", auth, "", "application/json")->status, 200); // unknown token: still 200

    // One line per request, without the code, the state or the token.
    const QByteArray log = m_relay.log();
    QVERIFY(log.contains("POST /api/auth/app/exchange 200"));
    QVERIFY(!log.contains(code.toUtf8()));
    QVERIFY(!log.contains("s-123_AB"));
    QVERIFY(!log.contains(token.toUtf8()));
}

void TestRelaySignIn::exchangeFailures_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QString>("message");
    addRow("reused code", "reuse", "This sign-in link has already been used. Choose Sign In again.");
    addRow("expired code", "expire", "This sign-in link has expired. Choose Sign In again.");
    addRow("state of another sign-in", "mismatch",
           "This sign-in link belongs to another sign-in. Choose Sign In again.");
    addRow("right state after a mismatch", "mismatch-then-right",
           "This sign-in link has already been used. Choose Sign In again.");
    addRow("unknown code", "unknown", "This sign-in link is not valid. Choose Sign In again.");
    addRow("code a number", "number", "The sign-in request was not understood. Choose Sign In again.");
    addRow("not JSON", "garbage", "The sign-in request was not understood. Choose Sign In again.");
}

void TestRelaySignIn::exchangeFailures()
{
    QFETCH(QString, failure);
    auto c = client(m_relay);
    const QString state = QStringLiteral("state-") + failure;
    const QString code = freshCode(*c, state.toStdString());
    QVERIFY(!code.isEmpty());
    if (failure == "reuse")
        QCOMPARE(exchange(*c, code, state)->status, 200);
    if (failure == "expire")
        expireAllCodes(m_relay.databasePath());
    if (failure == "mismatch-then-right")
        QCOMPARE(exchange(*c, code, "other-state")->status, 400);
    auto result = [&] {
        if (failure == "mismatch")
            return exchange(*c, code, "other-state");
        if (failure == "unknown")
            return exchange(*c, code + "x", state);
        if (failure == "number")
            return c->Post("/api/auth/app/exchange", R"({"code":5,"state":"s"})", "application/json");
        if (failure == "garbage")
            return c->Post("/api/auth/app/exchange", "{\"code\":", "application/json");
        return exchange(*c, code, state);
    }();
    QCOMPARE(result->status, 400);
    QTEST(json(result->body).value("error").toString(), "message");
}

void TestRelaySignIn::loginRejects_data()
{
    QTest::addColumn<QString>("request");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("pageText");
    addRow("no state", "GET /login?client=app", 400, "Start the sign-in from Halvora");
    addRow("other client", "GET /login?client=web&state=s", 400, "Start the sign-in from Halvora");
    addRow("state with markup is escaped", "GET /login?client=app&state=%22%3E%3Cb%3Ex", 200,
           "value=\"&quot;&gt;&lt;b&gt;x\"");
    addRow("form without form token", "POST email=a@b.example state=s", 403, "reload the page");
    addRow("form with wrong form token", "POST email=a@b.example state=s token=wrong", 403, "reload the page");
    addRow("form with bad address", "POST email=nobody state=s token=right", 400, "Enter a valid e-mail address.");
    addRow("form without state", "POST email=a@b.example token=right", 400, "Start the sign-in from Halvora");
}

void TestRelaySignIn::loginRejects()
{
    QFETCH(QString, request);
    QFETCH(QString, pageText);
    auto c = client(m_relay);
    auto result = [&] {
        if (request.startsWith("GET "))
            return c->Get(request.mid(4).toStdString());
        httplib::Params form{{"client", "app"}};
        const std::string right = formToken(c->Get("/login?client=app&state=s")->body).toStdString();
        for (const QString& field : request.mid(5).split(' ')) {
            QString name = field.section('=', 0, 0), value = field.section('=', 1);
            if (name == "token")
                form.emplace("form_token", value == "right" ? right : value.toStdString());
            else
                form.emplace(name.toStdString(), value.toStdString());
        }
        return c->Post("/login", form);
    }();
    QTEST(result->status, "status");
    QVERIFY2(result->body.find(pageText.toStdString()) != std::string::npos, result->body.c_str());
    QVERIFY(result->body.find("<b>") == std::string::npos);
}

void TestRelaySignIn::meRejects_data()
{
    QTest::addColumn<QString>("authorization"); // "-": no header
    addRow("no header", "-");
    addRow("basic scheme", "Basic dXNlcjpwYXNz");
    addRow("empty bearer", "Bearer ");
    addRow("unknown token", "Bearer 0123456789abcdefghijklmnopqrstuvwxyzABCDEFG");
}

void TestRelaySignIn::meRejects()
{
    QFETCH(QString, authorization);
    auto c = client(m_relay);
    httplib::Headers headers;
    if (authorization != "-")
        headers.emplace("Authorization", authorization.toStdString());
    auto result = c->Get("/api/me", headers);
    QCOMPARE(result->status, 401);
    QVERIFY(json(result->body).value("error").isString());
}

void TestRelaySignIn::accountPageRevokes()
{
    const QString first = m_relay.signIn("first@example.com");
    const QString second = m_relay.signIn("second@example.com");
    QVERIFY(!first.isEmpty() && !second.isEmpty());
    auto c = client(m_relay);
    auto page = c->Get("/account");
    QCOMPARE(page->status, 200);
    QVERIFY(page->body.find("first@example.com") != std::string::npos);
    QVERIFY(page->body.find("second@example.com") != std::string::npos);
    QVERIFY(page->body.find(first.toStdString()) == std::string::npos); // tokens never shown

    // The newest session is listed first; revoke it with the page's own form.
    auto id =
        QRegularExpression(R"re(name="id" value="(\d+)")re").match(QString::fromStdString(page->body)).captured(1);
    httplib::Params wrong{{"id", id.toStdString()}, {"form_token", "forged"}};
    QCOMPARE(c->Post("/account/revoke", wrong)->status, 403);
    httplib::Params form{{"id", id.toStdString()}, {"form_token", formToken(page->body).toStdString()}};
    auto revoked = c->Post("/account/revoke", form);
    QCOMPARE(revoked->status, 303);
    QCOMPARE(revoked->get_header_value("Location"), "/account");

    QCOMPARE(c->Get("/api/me", {{"Authorization", "Bearer " + second.toStdString()}})->status, 401);
    QCOMPARE(c->Get("/api/me", {{"Authorization", "Bearer " + first.toStdString()}})->status, 200);
    QVERIFY(c->Get("/account")->body.find("Revoked") != std::string::npos);
}

void TestRelaySignIn::accountPageRefusesOtherHosts()
{
    // A page whose name was rebound to 127.0.0.1 sends its own name as Host.
    auto c = client(m_relay);
    httplib::Headers rebound{{"Host", "attacker.example:" + std::to_string(m_relay.port())}};
    auto page = c->Get("/account", rebound);
    QCOMPARE(page->status, 403);
    QVERIFY(page->body.find("form_token") == std::string::npos);
    QCOMPARE(c->Post("/account/revoke", rebound, "id=1&form_token=x", "application/x-www-form-urlencoded")->status,
             403);
}

void TestRelaySignIn::databaseIsPrivate()
{
    const QString token = m_relay.signIn("private@example.com");
    QVERIFY(!token.isEmpty());
    QFile::Permissions owner = QFile::ReadOwner | QFile::WriteOwner;
    QCOMPARE(QFile::permissions(m_relay.databasePath()) & ~(owner | QFile::ReadUser | QFile::WriteUser),
             QFile::Permissions());
    // Only digests are stored: the token appears in neither the database nor its journal.
    QByteArray stored = readAll(m_relay.databasePath()) + readAll(m_relay.databasePath() + "-wal");
    QVERIFY(stored.contains("private@example.com"));
    QVERIFY(!stored.contains(token.toUtf8()));
}

void TestRelaySignIn::upgradesAnOlderDatabase()
{
    // A database made before users and schema versions: its live session stays signed in.
    QTemporaryDir dir;
    const QString path = dir.filePath("old.db");
    const QByteArray token = "old-token-0123456789abcdefghijklmnopqrstuvwxyz";
    const QByteArray hash = QCryptographicHash::hash(token, QCryptographicHash::Sha256).toHex();
    const QByteArray sql =
        "CREATE TABLE codes(code_hash TEXT PRIMARY KEY, state TEXT NOT NULL, email TEXT NOT NULL,"
        " expires_at INTEGER NOT NULL, used INTEGER NOT NULL DEFAULT 0);"
        "CREATE TABLE sessions(id INTEGER PRIMARY KEY, token_hash TEXT UNIQUE NOT NULL, email TEXT NOT NULL,"
        " created_at INTEGER NOT NULL, last_used_at INTEGER NOT NULL, revoked INTEGER NOT NULL DEFAULT 0);"
        "INSERT INTO sessions(token_hash, email, created_at, last_used_at) VALUES('" +
        hash + "', 'old@example.com', 1, 1);";
    sqlite3* db = nullptr;
    QCOMPARE(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
    QCOMPARE(sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    const httplib::Headers auth{{"Authorization", "Bearer " + token.toStdString()}};
    for (int start = 0; start < 2; ++start) { // upgraded, then opened as it is
        RelayProcess relay;
        QVERIFY2(relay.start({"--db", path}), qPrintable(relay.startMessage()));
        QCOMPARE(client(relay)->Get("/api/me", auth)->body, R"({"email":"old@example.com"})");
        QVERIFY(!relay.signIn("old@example.com").isEmpty());
    }
    QProcess users;
    users.start(RelayProcess::executable(), {"user", "list", "--db", path});
    QVERIFY(users.waitForFinished(10000));
    QCOMPARE(users.readAllStandardOutput().count("old@example.com"), 1); // one user for both sign-ins
}

QTEST_GUILESS_MAIN(TestRelaySignIn)
#include "tst_relaysignin.moc"
