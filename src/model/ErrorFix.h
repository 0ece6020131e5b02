#pragma once

#include "model/TurnError.h"

#include <functional>

// The remedy offered beside a failed turn's message.
enum class ErrorFix { Retry, SignIn };

namespace ErrorFixes {

// The account message set after the service rejected the token.
QString sessionEndedMessage();

// The button label of a remedy: "Retry" or "Sign In".
QString label(ErrorFix fix);

// Chooses the remedy for a failed turn. A 401 from the service means the token is no longer
// valid: endSession is called (it forgets the local sign-in and sets the account message)
// before SignIn is returned. A missing token also asks for SignIn; anything else is Retry.
ErrorFix fix(const TurnError& error, const std::function<void()>& endSession);

} // namespace ErrorFixes
