#include "account/AccountManager.h"

#include "account/AccountLog.h"
#include "account/AccountRequest.h"
#include "common/ServiceUrl.h"
#include "common/Wording.h"
#include "model/ErrorFix.h"
#include "platform/Platform.h"
#include "platform/PreferenceKeys.h"
#include "platform/Preferences.h"
#include "platform/Workspace.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QRandomGenerator>
#include <QUrlQuery>

namespace {

QString signInFailedText()
{
    return QCoreApplication::translate("AccountManager", "Sign-in failed. Please try again.");
}

QString undecodableText()
{
    return QCoreApplication::translate("AccountManager",
                                       "The data couldn’t be read because it isn’t in the correct format.");
}

// The object a successful answer carries, or none when the body is not a JSON object.
std::optional<QJsonObject> jsonObject(const QByteArray& body)
{
    const QJsonDocument document = QJsonDocument::fromJson(body);
    if (!document.isObject())
        return std::nullopt;
    return document.object();
}

// The message of a failed exchange: the body's "error" text when there is one.
QString exchangeFailure(const QByteArray& body)
{
    const QJsonValue error = jsonObject(body).value_or(QJsonObject()).value(QStringLiteral("error"));
    return error.isString() ? error.toString() : signInFailedText();
}

// What went wrong with a reply, for the log: the HTTP status or the transport error, never
// the body (it may carry a token).
QString replyProblem(const AccountReply& reply)
{
    if (reply.status == 0)
        return QStringLiteral("no answer (%1)").arg(reply.transportError);
    return QStringLiteral("HTTP status %1").arg(reply.status);
}

std::optional<QString> firstItem(const QUrlQuery& query, const QString& name)
{
    for (const auto& item : query.queryItems(QUrl::FullyDecoded)) {
        if (item.first == name)
            return item.second;
    }
    return std::nullopt;
}

} // namespace

AccountManager::AccountManager(QNetworkAccessManager* network, QObject* parent)
    : QObject(parent), m_network(network ? network : new QNetworkAccessManager(this))
{
    SecretStore& keyring = Platform::secretStore();
    const SecretStore::Lookup stored = keyring.lookup(tokenService());
    m_token = stored.secret;
    if (stored.locked)
        unlockKeyring(keyring.unlockAndLoad(tokenService(), [this](const std::optional<QString>& token) {
            setKeyringLocked(false);
            // A sign-in finished while the keyring was locked keeps its own token.
            if (token && !m_token) {
                m_token = token;
                Q_EMIT tokenChanged();
                refresh();
            }
        }));
    const QVariant email = Preferences::instance().value(PreferenceKeys::accountEmail);
    if (email.typeId() == QMetaType::QString)
        m_email = email.toString();
    keyring.remove(legacyApiKeyService());
}

AccountManager::~AccountManager() = default;

QString AccountManager::tokenService()
{
    return QStringLiteral("Halvora.account-token");
}

QString AccountManager::legacyApiKeyService()
{
    return QStringLiteral("Halvora.anthropic-api-key");
}

AccountManager& AccountManager::shared()
{
    static AccountManager* instance = new AccountManager();
    return *instance;
}

QUrl AccountManager::builtInServerURL()
{
    return QUrl(QStringLiteral("http://127.0.0.1:8787/"));
}

QUrl AccountManager::serverURL()
{
    const QVariant stored = Preferences::instance().value(PreferenceKeys::serverURL);
    if (stored.typeId() != QMetaType::QString)
        return builtInServerURL();
    const QUrl url(stored.toString(), QUrl::StrictMode);
    const bool usable = url.isValid() && !url.host().isEmpty() &&
                        (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https"));
    return usable ? url : builtInServerURL();
}

QString AccountManager::randomState()
{
    quint32 words[6];
    QRandomGenerator::system()->fillRange(words);
    const QByteArray bytes(reinterpret_cast<const char*>(words), sizeof(words));
    return QString::fromLatin1(bytes.toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals));
}

QUrl AccountManager::signInUrl(const QString& state)
{
    QUrl url = ServiceUrl::appending(serverURL(), QStringLiteral("login"));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("client"), QStringLiteral("app"));
    query.addQueryItem(QStringLiteral("state"), state);
    url.setQuery(query);
    return url;
}

void AccountManager::signIn()
{
    const QString state = randomState();
    Preferences::instance().setValue(PreferenceKeys::pendingSignInState, state);
    setSigningIn(true);
    setLastError(std::nullopt);
    // The address carries the sign-in state: only its host goes to the log.
    if (!Platform::workspace().openUrl(signInUrl(state)))
        qCWarning(accountLog) << "The browser could not be opened for signing in at" << serverURL().host();
}

void AccountManager::handle(const QUrl& url)
{
    if (url.scheme() != QLatin1String("halvora") || url.host() != QLatin1String("auth"))
        return;
    const QUrlQuery query(url);
    const auto code = firstItem(query, QStringLiteral("code"));
    const auto state = firstItem(query, QStringLiteral("state"));
    const QVariant pending = Preferences::instance().value(PreferenceKeys::pendingSignInState);
    if (!code || !state || pending.typeId() != QMetaType::QString || pending.toString() != *state) {
        setLastError(Wording::text(Wording::Text::SignInLinkMismatch));
        setSigningIn(false);
        return;
    }
    Preferences::instance().remove(PreferenceKeys::pendingSignInState);
    exchange(*code, *state);
}

void AccountManager::exchange(const QString& code, const QString& state)
{
    AccountRequest::Options request;
    request.url = ServiceUrl::appending(serverURL(), QStringLiteral("api/auth/app/exchange"));
    request.method = "POST";
    request.json = true;
    request.body = QJsonDocument(QJsonObject{{QStringLiteral("code"), code}, {QStringLiteral("state"), state}})
                       .toJson(QJsonDocument::Compact);
    request.timeoutMs = 20000;
    track(AccountRequest::send(m_network, request, [this](const AccountReply& reply) { finishExchange(reply); }));
}

void AccountManager::finishExchange(const AccountReply& reply)
{
    if (reply.status != 200) {
        qCWarning(accountLog).noquote() << "Sign-in exchange failed:" << replyProblem(reply);
        setSigningIn(false);
        setLastError(reply.status == 0 ? reply.transportError : exchangeFailure(reply.body));
        return;
    }
    const QJsonObject answer = jsonObject(reply.body).value_or(QJsonObject());
    const QJsonValue token = answer.value(QStringLiteral("token"));
    const QJsonValue email = answer.value(QStringLiteral("email"));
    if (!token.isString() || !email.isString()) {
        qCWarning(accountLog) << "Sign-in exchange answered without a token or an e-mail address";
        setSigningIn(false);
        setLastError(undecodableText());
        return;
    }
    setToken(token.toString());
    setEmail(email.toString());
    setSigningIn(false);
    refresh([this] { Q_EMIT signedIn(tr("Signed in to Halvora")); });
}

void AccountManager::refresh(std::function<void()> done)
{
    if (!m_token) {
        if (done)
            done();
        return;
    }
    AccountRequest::Options request;
    request.url = ServiceUrl::appending(serverURL(), QStringLiteral("api/me"));
    request.bearer = *m_token;
    request.timeoutMs = 15000;
    track(AccountRequest::send(m_network, request, [this, done = std::move(done)](const AccountReply& reply) {
        finishRefresh(reply);
        if (done)
            done();
    }));
}

void AccountManager::finishRefresh(const AccountReply& reply)
{
    if (reply.status == 401) {
        qCInfo(accountLog) << "The account service ended the session (401)";
        clearLocalSession();
        setLastError(ErrorFixes::sessionEndedMessage());
        return;
    }
    if (reply.status != 200) {
        qCWarning(accountLog).noquote() << "Account refresh failed:" << replyProblem(reply);
        return;
    }
    const QJsonValue email = jsonObject(reply.body).value_or(QJsonObject()).value(QStringLiteral("email"));
    if (email.isString())
        setEmail(email.toString());
}

void AccountManager::signOut()
{
    const std::optional<QString> kept = m_token;
    clearLocalSession();
    if (!kept)
        return;
    AccountRequest::Options request;
    request.url = ServiceUrl::appending(serverURL(), QStringLiteral("api/auth/logout"));
    request.method = "POST";
    request.bearer = *kept;
    request.timeoutMs = 60000;
    track(AccountRequest::send(m_network, request, [](const AccountReply& reply) {
        // The local session is gone either way; the service ends the token when it expires.
        if (reply.status < 200 || reply.status > 299)
            qCWarning(accountLog).noquote() << "Sign-out at the account service failed:" << replyProblem(reply);
    }));
}

void AccountManager::clearLocalSession()
{
    setToken(std::nullopt);
    setEmail(std::nullopt);
}

void AccountManager::openAccountPage()
{
    if (!Platform::workspace().openUrl(ServiceUrl::appending(serverURL(), QStringLiteral("account"))))
        qCWarning(accountLog) << "The browser could not be opened on the account page at" << serverURL().host();
}

void AccountManager::endSession()
{
    clearLocalSession();
    setLastError(ErrorFixes::sessionEndedMessage());
}

void AccountManager::track(TaskHandle handle)
{
    m_jobs.remove_if([](const TaskHandle& job) { return !job.isActive(); });
    m_jobs.push_back(std::move(handle));
}

void AccountManager::setToken(const std::optional<QString>& token)
{
    // A prompt still open for an earlier token (or for loading one) is no longer wanted.
    m_unlock.cancel();
    setKeyringLocked(false);
    SecretStore& keyring = Platform::secretStore();
    if (!token)
        keyring.remove(tokenService());
    else if (!keyring.needsUnlock())
        keyring.save(tokenService(), *token);
    else
        unlockKeyring(keyring.unlockAndSave(tokenService(), *token, [this](bool) { setKeyringLocked(false); }));
    if (token == m_token)
        return;
    m_token = token;
    Q_EMIT tokenChanged();
}

void AccountManager::setEmail(const std::optional<QString>& email)
{
    if (email)
        Preferences::instance().setValue(PreferenceKeys::accountEmail, *email);
    else
        Preferences::instance().remove(PreferenceKeys::accountEmail);
    if (email == m_email)
        return;
    m_email = email;
    Q_EMIT emailChanged();
}

// The keyring asks the user to unlock it: the prompt waits as long as the user takes, and
// the settings say why meanwhile. Until it is answered the token lives only in memory.
void AccountManager::unlockKeyring(TaskHandle unlock)
{
    m_unlock = std::move(unlock);
    setKeyringLocked(m_unlock.isActive());
}

void AccountManager::setKeyringLocked(bool locked)
{
    if (locked == m_keyringLocked)
        return;
    m_keyringLocked = locked;
    Q_EMIT keyringLockedChanged();
}

void AccountManager::setSigningIn(bool signingIn)
{
    if (signingIn == m_isSigningIn)
        return;
    m_isSigningIn = signingIn;
    Q_EMIT isSigningInChanged();
}

void AccountManager::setLastError(const std::optional<QString>& error)
{
    if (error == m_lastError)
        return;
    m_lastError = error;
    Q_EMIT lastErrorChanged();
}
