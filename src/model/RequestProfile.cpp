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
    case AIAction::Case::Rewrite:
    case AIAction::Case::Custom:
        return make(16000, "low", "rewrite");
    case AIAction::Case::Translate:
        return make(16000, "low", "explain");
    case AIAction::Case::Explain:
        return make(16000, "medium", "explain");
    case AIAction::Case::Ask:
        return make(16000, "medium", "ask");
    case AIAction::Case::WebSearch:
        return make(16000, "medium", "search");
    case AIAction::Case::Chat:
        return action.isDeep() ? make(32000, "high", "research") : make(32000, "medium", "ask");
    case AIAction::Case::Research:
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
