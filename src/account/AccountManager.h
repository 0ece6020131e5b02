#pragma once
#include "common/TaskHandle.h"

#include <QObject>
#include <QString>
#include <QUrl>
#include <functional>
#include <list>
#include <optional>

class QNetworkAccessManager;
struct AccountReply;

// The user's identity with the account service: the bearer token (kept in the Secret
// Service), the account's e-mail, whether a browser sign-in is in progress and the last
// sign-in message to show. Signs in through the browser and the halvora:// callback,
// refreshes the identity, and signs out. One instance, main thread only.
class AccountManager : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString token READ tokenText NOTIFY tokenChanged)
    Q_PROPERTY(QString email READ emailText NOTIFY emailChanged)
    Q_PROPERTY(bool isSigningIn READ isSigningIn NOTIFY isSigningInChanged)
    Q_PROPERTY(QString lastError READ lastErrorText NOTIFY lastErrorChanged)
    Q_PROPERTY(bool keyringLocked READ keyringLocked NOTIFY keyringLockedChanged)

public:
    explicit AccountManager(QNetworkAccessManager* network = nullptr, QObject* parent = nullptr);
    ~AccountManager() override;

    // The process-wide instance, created on first use.
    static AccountManager& shared();
    // The account service's base address: the "serverURL" preference when it holds an
    // absolute http(s) address, otherwise the built-in one.
    static QUrl serverURL();
    static QUrl builtInServerURL();
    // The keyring item of the account token, and one that earlier versions left behind (never
    // written, removed at start).
    static QString tokenService();
    static QString legacyApiKeyService();

    const std::optional<QString>& token() const { return m_token; }
    const std::optional<QString>& email() const { return m_email; }
    bool isSigningIn() const { return m_isSigningIn; }
    const std::optional<QString>& lastError() const { return m_lastError; }
    // True while the keyring waits for the user to unlock it, to read or store the token.
    bool keyringLocked() const { return m_keyringLocked; }
    QString tokenText() const { return m_token.value_or(QString()); }
    QString emailText() const { return m_email.value_or(QString()); }
    QString lastErrorText() const { return m_lastError.value_or(QString()); }

    // Starts a browser sign-in and returns at once.
    void signIn();
    // Handles a URL opened through the program's scheme; anything but a sign-in callback is ignored.
    void handle(const QUrl& url);
    // Re-reads the identity from the service; done (if given) runs when it has finished.
    void refresh(std::function<void()> done = {});
    // Signs out locally at once and remotely in the background.
    void signOut();
    // Forgets token and e-mail without contacting the service.
    void clearLocalSession();
    // Ends a session the service no longer accepts: forgets it locally and leaves the
    // signed-out message as the last error.
    void endSession();
    void openAccountPage();

    // The state value of a sign-in: 24 random bytes in URL-safe Base64 without padding.
    static QString randomState();
    // The browser address that starts a sign-in with the given state.
    static QUrl signInUrl(const QString& state);

Q_SIGNALS:
    void tokenChanged();
    void emailChanged();
    void isSigningInChanged();
    void lastErrorChanged();
    void keyringLockedChanged();
    // A sign-in finished successfully (the announcement "Signed in to Halvora").
    void signedIn(const QString& announcement);

private:
    void setToken(const std::optional<QString>& token);
    void setEmail(const std::optional<QString>& email);
    void setSigningIn(bool signingIn);
    void setLastError(const std::optional<QString>& error);
    void unlockKeyring(TaskHandle unlock);
    void setKeyringLocked(bool locked);
    void exchange(const QString& code, const QString& state);
    void finishExchange(const AccountReply& reply);
    void finishRefresh(const AccountReply& reply);
    void track(TaskHandle handle);

    QNetworkAccessManager* m_network;
    std::optional<QString> m_token;
    std::optional<QString> m_email;
    bool m_isSigningIn = false;
    std::optional<QString> m_lastError;
    std::list<TaskHandle> m_jobs;
    bool m_keyringLocked = false;
    TaskHandle m_unlock;
};
