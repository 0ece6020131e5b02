#include "model/ClaudeError.h"
#include "model/ErrorFix.h"

#include <QTest>

// The user messages of model failures, the error body extraction and the remedy choice.
class TestClaudeError : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void userMessage_data();
    void userMessage();
    void errorDetails_data();
    void errorDetails();
    void remedy_data();
    void remedy();
};

void TestClaudeError::userMessage_data()
{
    QTest::addColumn<ClaudeError>("error");
    QTest::addColumn<QString>("message");

    const QString busy = QStringLiteral("The AI service is busy right now. Try again shortly.");
    QTest::newRow("signed out") << ClaudeError::signedOut() << "Sign in to use Halvora.";
    QTest::newRow("invalid response") << ClaudeError::invalidResponse()
                                      << "Received an unexpected response from the API.";
    QTest::newRow("refused") << ClaudeError::refused(std::nullopt) << "Claude declined this request.";
    QTest::newRow("refused, explained") << ClaudeError::refused(QStringLiteral("Not allowed."))
                                        << "Claude declined this request. Not allowed.";
    QTest::newRow("refused, empty explanation")
        << ClaudeError::refused(QString("")) << "Claude declined this request. ";
    QTest::newRow("400 with message") << ClaudeError::http(400, std::nullopt, QStringLiteral("Too long")) << "Too long";
    QTest::newRow("500 with message") << ClaudeError::http(500, QStringLiteral("api_error"), QStringLiteral("x"))
                                      << "Something went wrong (500). Try again.";
    QTest::newRow("502 with message") << ClaudeError::http(502, std::nullopt, QStringLiteral("Bad gateway"))
                                      << "Bad gateway";
    QTest::newRow("503 with message") << ClaudeError::http(503, std::nullopt, QStringLiteral("Down")) << "Down";
    QTest::newRow("503 empty") << ClaudeError::http(503, std::nullopt, QString())
                               << "Something went wrong (503). Try again.";
    QTest::newRow("529 with message") << ClaudeError::http(529, QStringLiteral("overloaded_error"),
                                                           QStringLiteral("Stream error"))
                                      << busy;
    QTest::newRow("529 empty") << ClaudeError::http(529, std::nullopt, QString()) << busy;
    QTest::newRow("401 empty") << ClaudeError::http(401, std::nullopt, QString())
                               << "Your session has ended. Sign in again.";
    QTest::newRow("401 with message") << ClaudeError::http(401, std::nullopt, QStringLiteral("Bad token"))
                                      << "Bad token";
    QTest::newRow("413 empty") << ClaudeError::http(413, std::nullopt, QString())
                               << "The selection is too large to send.";
    QTest::newRow("429 empty") << ClaudeError::http(429, QStringLiteral("rate_limit_error"), QString())
                               << "Too many requests. Wait a moment and try again.";
    QTest::newRow("201 empty") << ClaudeError::http(201, std::nullopt, QString())
                               << "Something went wrong (201). Try again.";
}

void TestClaudeError::userMessage()
{
    QFETCH(ClaudeError, error);
    QFETCH(QString, message);
    QCOMPARE(error.errorDescription(), message);
    QCOMPARE(TurnError(error).localizedDescription(), message);
}

void TestClaudeError::errorDetails_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("message");

    QTest::newRow("type and message") << QByteArray(R"({"error":{"type":"rate_limit_error","message":"Slow"}})")
                                      << "rate_limit_error"
                                      << "Slow";
    QTest::newRow("mistyped members") << QByteArray(R"({"error":{"type":1,"message":["x"]}})") << QString() << "";
    QTest::newRow("error is a string") << QByteArray(R"({"error":"nope"})") << QString() << "";
    QTest::newRow("not JSON") << QByteArray("<html>502</html>") << QString() << "";
    QTest::newRow("empty") << QByteArray() << QString() << "";
}

void TestClaudeError::errorDetails()
{
    QFETCH(QByteArray, body);
    QFETCH(QString, type);
    QFETCH(QString, message);
    const ErrorDetails details = ErrorDetails::from(body);
    QCOMPARE(details.type.has_value(), !type.isNull());
    QCOMPARE(details.type.value_or(QString()), type);
    QCOMPARE(details.message, message);
}

void TestClaudeError::remedy_data()
{
    QTest::addColumn<TurnError>("error");
    QTest::addColumn<ErrorFix>("fix");
    QTest::addColumn<bool>("endsSession");

    QTest::newRow("401 with any body") << TurnError(ClaudeError::http(401, QStringLiteral("x"), QStringLiteral("y")))
                                       << ErrorFix::SignIn << true;
    QTest::newRow("signed out") << TurnError(ClaudeError::signedOut()) << ErrorFix::SignIn << false;
    QTest::newRow("403") << TurnError(ClaudeError::http(403, std::nullopt, QString())) << ErrorFix::Retry << false;
    QTest::newRow("refused") << TurnError(ClaudeError::refused(std::nullopt)) << ErrorFix::Retry << false;
    QTest::newRow("invalid response") << TurnError(ClaudeError::invalidResponse()) << ErrorFix::Retry << false;
    QTest::newRow("no connection") << TurnError::network(QNetworkReply::ConnectionRefusedError,
                                                         QStringLiteral("Connection refused"))
                                   << ErrorFix::Retry << false;
    QTest::newRow("parse error") << TurnError::parse(QStringLiteral("unterminated object")) << ErrorFix::Retry << false;
}

void TestClaudeError::remedy()
{
    QFETCH(TurnError, error);
    QFETCH(ErrorFix, fix);
    QFETCH(bool, endsSession);
    int ended = 0;
    QCOMPARE(ErrorFixes::fix(error, [&] { ++ended; }), fix);
    QCOMPARE(ended, endsSession ? 1 : 0);
    QVERIFY(!error.isCancellation());
}

QTEST_GUILESS_MAIN(TestClaudeError)
#include "tst_claudeerror.moc"
