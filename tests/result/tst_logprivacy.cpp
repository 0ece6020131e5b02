// What the program writes to its log never holds a token, a sign-in code, a selection, a question
// or an answer: a sign-in with a known token, a turn on a known selection and a failed follow-up
// against the relay, with every message caught at the default rules and with debug on.
#include "account/AccountManager.h"
#include "conversation/ConversationKit.h"
#include "platform/PreferenceKeys.h"
#include "platform/Preferences.h"
#include "result/ResultViewModel.h"

#include <QJsonDocument>
#include <QLoggingCategory>
#include <QMutex>
#include <QSignalSpy>
#include <QTest>
#include <QUrlQuery>
#include <algorithm>

namespace {

const QString knownToken = QStringLiteral("tok-7Q2vX9pL4mZ8wR1sKb");
const QString knownCode = QStringLiteral("code-Hx83kd02MsQe");
const QString selectedText = QStringLiteral("Meet me at the blue door at nine.");
const QString question = QStringLiteral("Who else will be waiting there?");
const QString answer = QStringLiteral("Bring the violet umbrella.");

struct Caught {
    QtMsgType type;
    QString category;
    QString text;
};

QMutex caughtMutex;
QList<Caught> caught;

void catchMessage(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    const QMutexLocker lock(&caughtMutex);
    caught.append({type, QString::fromUtf8(context.category ? context.category : ""), text});
}

QList<Caught> caughtSoFar()
{
    const QMutexLocker lock(&caughtMutex);
    return caught;
}

bool caughtContaining(const QString& part)
{
    const QList<Caught> all = caughtSoFar();
    return std::any_of(all.begin(), all.end(), [&](const Caught& message) { return message.text.contains(part); });
}

QByteArray json(const QJsonObject& object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

} // namespace

class TestLogPrivacy : public QObject {
    Q_OBJECT

    QtMessageHandler m_previous = nullptr;

    // Signs in through the relay, whose code exchange hands out the known token.
    static void signIn(ConversationKit& kit, AccountManager& account)
    {
        QSignalSpy signedIn(&account, &AccountManager::signedIn);
        account.signIn();
        const QUrl login = kit.platform.workspace->openedUrls.value(kit.platform.workspace->openedUrls.size() - 1);
        QUrlQuery callback;
        callback.addQueryItem(QStringLiteral("code"), knownCode);
        callback.addQueryItem(QStringLiteral("state"), QUrlQuery(login).queryItemValue(QStringLiteral("state")));
        QUrl link(QStringLiteral("halvora://auth"));
        link.setQuery(callback);
        account.handle(link);
        QTRY_COMPARE_WITH_TIMEOUT(signedIn.size(), 1, 5000);
        QCOMPARE(account.token().value_or(QString()), knownToken);
    }

private Q_SLOTS:
    void init()
    {
        caught.clear();
        m_previous = qInstallMessageHandler(catchMessage);
    }

    void cleanup()
    {
        qInstallMessageHandler(m_previous);
        QLoggingCategory::setFilterRules(QString());
    }

    void secretsNeverReachTheLog_data()
    {
        QTest::addColumn<QString>("rules");
        QTest::addColumn<bool>("debugLines");
        QTest::newRow("default rules") << QString() << false;
        QTest::newRow("halvora debug on") << QStringLiteral("halvora.*.debug=true") << true;
    }

    void secretsNeverReachTheLog()
    {
        QFETCH(QString, rules);
        QFETCH(bool, debugLines);
        QLoggingCategory::setFilterRules(rules);
        const QString email = QStringLiteral("ada@example.com");
        ConversationKit kit;
        kit.scenario.addResponse(200, json({{"token", knownToken}, {"email", email}}), {},
                                 QStringLiteral("api/auth/app/exchange"));
        kit.scenario.addResponse(200, json({{"email", email}}), {}, QStringLiteral("api/me"));
        kit.scenario.addStream(RelayScenario::textEvents({"Bring the ", "violet umbrella."}));
        // An error that quotes the request back, as services do.
        kit.scenario.addError(400, "invalid_request_error", "Cannot use: " + selectedText + " " + question);
        kit.scenario.addResponse(500, {}, {}, QStringLiteral("api/auth/logout"));
        QVERIFY(kit.start());
        Preferences::instance().setValue(PreferenceKeys::serverURL, kit.relay.baseUrl().toString());

        AccountManager account(kit.network.get());
        signIn(kit, account);
        if (QTest::currentTestFailed())
            return;
        kit.account.current = knownToken;
        const Selection selection{selectedText, true, std::nullopt, 501, QStringLiteral("Editor"), {}};
        ResultViewModel model(selection, AIAction::explain(), kit.services());
        model.run(std::nullopt);
        QTRY_VERIFY(!model.isStreaming());
        QCOMPARE(model.latestAnswer(), answer);
        model.setDraft(question);
        model.submitDraft();
        QTRY_VERIFY(!model.isStreaming());
        QVERIFY(!model.errorText().isEmpty());
        kit.history->flush();
        account.signOut();
        // The failures left their lines: the follow-up's and the sign-out's.
        QTRY_VERIFY(caughtContaining(QStringLiteral("Sign-out at the account service failed: HTTP status 500")));
        QVERIFY(caughtContaining(QStringLiteral("Model request failed")));

        for (const Caught& message : caughtSoFar()) {
            for (const QString& secret : {knownToken, knownCode, selectedText, question, answer, QString("violet")}) {
                if (message.text.contains(secret))
                    QFAIL(qPrintable(QStringLiteral("%1 line of %2 holds \"%3\": %4")
                                         .arg(int(message.type))
                                         .arg(message.category, secret, message.text)));
            }
        }
        const QList<Caught> all = caughtSoFar();
        const bool sawDebug = std::any_of(all.begin(), all.end(), [](const Caught& message) {
            return message.type == QtDebugMsg && message.category.startsWith(QLatin1String("halvora."));
        });
        QCOMPARE(sawDebug, debugLines);
    }
};

QTEST_GUILESS_MAIN(TestLogPrivacy)
#include "tst_logprivacy.moc"
