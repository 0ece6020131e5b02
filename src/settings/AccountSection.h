#pragma once

#include "settings/SettingsSection.h"

class QLabel;
class QProgressBar;
class QPushButton;

// The settings section of the account: who is signed in, with Manage Account… and Sign Out;
// or, while signed out, why to sign in and the Sign In… button, which reads "Waiting for the
// link…" beside a progress indicator while the browser sign-in runs; and the last error in
// orange; and, while the keyring waits to be unlocked, a note saying so. It follows the account
// object's "email", "isSigningIn", "lastError" and "keyringLocked" properties (strings, empty
// for none, and flags) through their change signals.
class AccountSection : public SettingsSection {
    Q_OBJECT
public:
    explicit AccountSection(QObject& account, QWidget* parent = nullptr);

    QPushButton* signInButton() const { return m_signIn; }
    QLabel* emailLabel() const { return m_email; }
    QLabel* errorLabel() const { return m_error; }
    QProgressBar* progress() const { return m_progress; }
    QLabel* keyringNote() const { return m_keyringNote; }

Q_SIGNALS:
    void signInRequested();
    void signOutRequested();
    // Manage Account….
    void accountPageRequested();

private:
    QWidget* buildSignedIn();
    QWidget* buildSignedOut();
    QWidget* buildError();
    void watch(const char* property);

private Q_SLOTS:
    void readAccount();

private:
    QObject& m_account;
    QWidget* m_signedIn = nullptr;
    QWidget* m_signedOut = nullptr;
    QLabel* m_email = nullptr;
    QPushButton* m_signIn = nullptr;
    QProgressBar* m_progress = nullptr;
    QWidget* m_errorRow = nullptr;
    QLabel* m_error = nullptr;
    QLabel* m_keyringNote = nullptr;
};
