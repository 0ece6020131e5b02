#include "model/ErrorFix.h"

#include <QCoreApplication>

namespace ErrorFixes {

QString sessionEndedMessage()
{
    return QCoreApplication::translate("ErrorFixes", "You've been signed out. Sign in again to keep using Halvora.");
}

QString label(ErrorFix fix)
{
    return fix == ErrorFix::SignIn ? QCoreApplication::translate("ErrorFixes", "Sign In")
                                   : QCoreApplication::translate("ErrorFixes", "Retry");
}

ErrorFix fix(const TurnError& error, const std::function<void()>& endSession)
{
    const ClaudeError* claude = error.claudeError();
    if (!claude)
        return ErrorFix::Retry;
    if (claude->kind() == ClaudeError::Kind::Http && claude->status() == 401) {
        if (endSession)
            endSession();
        return ErrorFix::SignIn;
    }
    return claude->kind() == ClaudeError::Kind::SignedOut ? ErrorFix::SignIn : ErrorFix::Retry;
}

} // namespace ErrorFixes
