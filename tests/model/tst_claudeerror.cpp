#include "model/ClaudeError.h"
#include "model/ErrorFix.h"
#include "support/TestRows.h"

#include <QTest>

// The user messages of model failures, the error body extraction and the remedy choice.

class TestClaudeError : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void userMessage_data()
    {
        QTest::addColumn<ClaudeError>("error");
        QTest::addColumn<QString>("message");

        const QString busy = QStringLiteral("The AI service is busy right now. Try again shortly.");
        addRow("signed out", ClaudeError::signedOut(), "Sign in to use Halvora.");
        addRow("refused, explained", ClaudeError::refused(QStringLiteral("Not allowed.")),
               "Claude declined this request. Not allowed.");
        addRow("refused, empty explanation", ClaudeError::refused(QString("")), "Claude declined this request. ");
        addRow("500 with message", ClaudeError::http(500, QStringLiteral("api_error"), QStringLiteral("x")),
               "Something went wrong (500). Try again.");
        addRow("503 with message", ClaudeError::http(503, std::nullopt, QStringLiteral("Down")), "Down");
        addRow("503 empty", ClaudeError::http(503, std::nullopt, QString()), "Something went wrong (503). Try again.");
        addRow("529 with message",
               ClaudeError::http(529, QStringLiteral("overloaded_error"), QStringLiteral("Stream error")), busy);
        addRow("401 empty", ClaudeError::http(401, std::nullopt, QString()), "Your session has ended. Sign in again.");
        addRow("429 empty", ClaudeError::http(429, QStringLiteral("rate_limit_error"), QString()),
               "Too many requests. Wait a moment and try again.");
    }

    void userMessage()
    {
        QFETCH(ClaudeError, error);
        QFETCH(QString, message);
        QCOMPARE(error.userMessage(), message);
        QCOMPARE(TurnError(error).message(), message);
    }

    void errorDetails_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("message");

        addRow("type and message", QByteArray(R"({"error":{"type":"rate_limit_error","message":"Slow"}})"),
               "rate_limit_error", "Slow");
        addRow("mistyped members", QByteArray(R"({"error":{"type":1,"message":["x"]}})"), QString(), "");
        addRow("error is a string", QByteArray(R"({"error":"nope"})"), QString(), "");
        addRow("not JSON", QByteArray("<html>502</html>"), QString(), "");
        addRow("empty", QByteArray(), QString(), "");
    }

    void errorDetails()
    {
        QFETCH(QByteArray, body);
        QFETCH(QString, type);
        const ErrorDetails details = ErrorDetails::from(body);
        QCOMPARE(details.type.has_value(), !type.isNull());
        QCOMPARE(details.type.value_or(QString()), type);
        QTEST(details.message, "message");
    }

    void remedy_data()
    {
        QTest::addColumn<TurnError>("error");
        QTest::addColumn<ErrorFix>("fix");
        QTest::addColumn<bool>("endsSession");

        addRow("401 with any body", TurnError(ClaudeError::http(401, QStringLiteral("x"), QStringLiteral("y"))),
               ErrorFix::SignIn, true);
        addRow("signed out", TurnError(ClaudeError::signedOut()), ErrorFix::SignIn, false);
        addRow("403", TurnError(ClaudeError::http(403, std::nullopt, QString())), ErrorFix::Retry, false);
        addRow("refused", TurnError(ClaudeError::refused(std::nullopt)), ErrorFix::Retry, false);
        addRow("invalid response", TurnError(ClaudeError::invalidResponse()), ErrorFix::Retry, false);
        addRow("no connection",
               TurnError::network(QNetworkReply::ConnectionRefusedError, QStringLiteral("Connection refused")),
               ErrorFix::Retry, false);
        addRow("parse error", TurnError::parse(QStringLiteral("unterminated object")), ErrorFix::Retry, false);
    }

    void remedy()
    {
        QFETCH(TurnError, error);
        QFETCH(bool, endsSession);
        int ended = 0;
        QTEST(ErrorFixes::fix(error, [&] { ++ended; }), "fix");
        QCOMPARE(ended, endsSession ? 1 : 0);
        QVERIFY(!error.isCancellation());
    }
};

QTEST_GUILESS_MAIN(TestClaudeError)
#include "tst_claudeerror.moc"
