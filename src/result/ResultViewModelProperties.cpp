#include "result/ResultViewModel.h"

// The setters: each publishes only a real change.

void ResultViewModel::setDraft(const QString& draft)
{
    if (draft == m_draft)
        return;
    m_draft = draft;
    Q_EMIT draftChanged();
}

void ResultViewModel::setAction(const AIAction& action)
{
    if (action == m_action)
        return;
    m_action = action;
    Q_EMIT actionChanged();
}

void ResultViewModel::setTurns(const QList<ConversationTurn>& turns)
{
    if (turns == m_turns)
        return;
    m_turns = turns;
    Q_EMIT turnsChanged();
    Q_EMIT needsFirstQuestionChanged();
}

void ResultViewModel::setStatus(const std::optional<QString>& status)
{
    if (status == m_status)
        return;
    m_status = status;
    Q_EMIT statusChanged();
}

void ResultViewModel::setStreaming(bool streaming)
{
    if (streaming == m_isStreaming)
        return;
    m_isStreaming = streaming;
    Q_EMIT isStreamingChanged();
    Q_EMIT needsFirstQuestionChanged();
}

void ResultViewModel::setErrorMessage(const std::optional<QString>& message)
{
    if (message == m_errorMessage)
        return;
    m_errorMessage = message;
    Q_EMIT errorMessageChanged();
}

void ResultViewModel::setErrorFix(ErrorFix fix)
{
    if (fix == m_errorFix)
        return;
    m_errorFix = fix;
    Q_EMIT errorFixChanged();
}
