#include "model/RequestProfile.h"

#include "actions/AIAction.h"

namespace {

RequestProfile make(int maxTokens, const char* effort, const char* header)
{
    return RequestProfile{maxTokens, QString::fromLatin1(effort), QString::fromLatin1(header), {}};
}

RequestProfile withoutTools(const AIAction& action)
{
    switch (action.actionCase()) {
    case AIAction::Case::rewrite:
    case AIAction::Case::custom:
        return make(16000, "low", "rewrite");
    case AIAction::Case::translate:
        return make(16000, "low", "explain");
    case AIAction::Case::explain:
        return make(16000, "medium", "explain");
    case AIAction::Case::ask:
        return make(16000, "medium", "ask");
    case AIAction::Case::webSearch:
        return make(16000, "medium", "search");
    case AIAction::Case::chat:
        return action.isDeep() ? make(32000, "high", "research") : make(32000, "medium", "ask");
    case AIAction::Case::research:
        break;
    }
    return make(32000, "high", "research");
}

} // namespace

RequestProfile RequestProfile::forAction(const AIAction& action)
{
    RequestProfile profile = withoutTools(action);
    profile.tools = action.tools();
    return profile;
}
