#include "settings/AccountSection.h"

#include "settings/StatusColors.h"
#include "ui/Icons.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMetaMethod>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

AccountSection::AccountSection(QObject& account, QWidget* parent)
    : SettingsSection(tr("Account"), parent), m_account(account)
{
    column()->addWidget(buildSignedIn());
    column()->addWidget(buildSignedOut());
    column()->addWidget(buildError());
    m_keyringNote = note(tr("Your keyring is locked. Unlock it when your desktop asks, so Halvora can keep you "
                            "signed in."),
                         false, this);
    column()->addWidget(m_keyringNote);
    for (const char* property : {"email", "isSigningIn", "lastError", "keyringLocked"})
        watch(property);
    readAccount();
}

QWidget* AccountSection::buildSignedIn()
{
    m_signedIn = new QWidget(this);
    auto* column = new QVBoxLayout(m_signedIn);
    column->setContentsMargins(0, 0, 0, 0);
    auto* who = new QHBoxLayout;
    who->addWidget(new QLabel(tr("Signed in as"), m_signedIn));
    who->addStretch(1);
    m_email = new QLabel(m_signedIn);
    m_email->setTextFormat(Qt::PlainText);
    who->addWidget(m_email);
    column->addLayout(who);
    auto* buttons = new QHBoxLayout;
    auto* manage = new QPushButton(tr("Manage Account…"), m_signedIn);
    auto* signOut = new QPushButton(tr("Sign Out"), m_signedIn);
    buttons->addWidget(manage);
    buttons->addStretch(1);
    buttons->addWidget(signOut);
    column->addLayout(buttons);
    connect(manage, &QPushButton::clicked, this, &AccountSection::accountPageRequested);
    connect(signOut, &QPushButton::clicked, this, &AccountSection::signOutRequested);
    return m_signedIn;
}

QWidget* AccountSection::buildSignedOut()
{
    m_signedOut = new QWidget(this);
    auto* column = new QVBoxLayout(m_signedOut);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(note(tr("Sign in with your email to use Halvora. We'll open your browser and send you a "
                              "sign-in link."),
                           false, m_signedOut));
    auto* row = new QHBoxLayout;
    m_signIn = new QPushButton(m_signedOut);
    m_signIn->setDefault(true);
    m_progress = new QProgressBar(m_signedOut);
    m_progress->setRange(0, 0);
    m_progress->setMaximumSize(60, 8);
    m_progress->setTextVisible(false);
    row->addWidget(m_signIn);
    row->addWidget(m_progress);
    row->addStretch(1);
    column->addLayout(row);
    connect(m_signIn, &QPushButton::clicked, this, &AccountSection::signInRequested);
    return m_signedOut;
}

QWidget* AccountSection::buildError()
{
    m_errorRow = new QWidget(this);
    auto* row = new QHBoxLayout(m_errorRow);
    row->setContentsMargins(0, 0, 0, 0);
    auto* icon = new QLabel(m_errorRow);
    icon->setPixmap(Icons::pixmap(QStringLiteral("dialog-warning"), 14, StatusColors::orange(), devicePixelRatioF()));
    m_error = note(QString(), false, m_errorRow);
    m_error->setTextFormat(Qt::PlainText);
    QPalette palette = m_error->palette();
    palette.setColor(QPalette::WindowText, StatusColors::orange());
    m_error->setPalette(palette);
    m_error->setForegroundRole(QPalette::WindowText);
    row->addWidget(icon, 0, Qt::AlignTop);
    row->addWidget(m_error, 1);
    return m_errorRow;
}

void AccountSection::watch(const char* property)
{
    const QMetaObject* meta = m_account.metaObject();
    const int index = meta->indexOfProperty(property);
    if (index < 0 || !meta->property(index).hasNotifySignal())
        return;
    const int slot = metaObject()->indexOfSlot("readAccount()");
    connect(&m_account, meta->property(index).notifySignal(), this, metaObject()->method(slot));
}

void AccountSection::readAccount()
{
    const QString email = m_account.property("email").toString();
    const bool signingIn = m_account.property("isSigningIn").toBool();
    const QString error = m_account.property("lastError").toString();
    m_signedIn->setVisible(!email.isEmpty());
    m_signedOut->setVisible(email.isEmpty());
    m_email->setText(email);
    m_signIn->setText(signingIn ? tr("Waiting for the link…") : tr("Sign In…"));
    m_progress->setVisible(signingIn);
    m_errorRow->setVisible(!error.isEmpty());
    m_error->setText(error);
    m_keyringNote->setVisible(m_account.property("keyringLocked").toBool());
}
