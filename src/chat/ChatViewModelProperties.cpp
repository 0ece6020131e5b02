#include "chat/ChatViewModel.h"

// The setters: each publishes only a real change.

void ChatViewModel::setDraft(const QString& draft)
{
    if (draft == m_draft)
        return;
    m_draft = draft;
    Q_EMIT draftChanged();
}

void ChatViewModel::setDeepResearch(bool deep)
{
    if (deep == m_deepResearch)
        return;
    m_deepResearch = deep;
    Q_EMIT deepResearchChanged();
}

void ChatViewModel::setTitle(const QString& title)
{
    if (title == m_title)
        return;
    m_title = title;
    Q_EMIT titleChanged();
}

void ChatViewModel::setStreaming(bool streaming)
{
    if (streaming == m_isStreaming)
        return;
    m_isStreaming = streaming;
    Q_EMIT isStreamingChanged();
}

void ChatViewModel::setStatus(const std::optional<QString>& status)
{
    if (status == m_status)
        return;
    m_status = status;
    Q_EMIT statusChanged();
}

void ChatViewModel::setErrorMessage(const std::optional<QString>& message)
{
    if (message == m_errorMessage)
        return;
    m_errorMessage = message;
    Q_EMIT errorMessageChanged();
}

void ChatViewModel::setErrorFix(ErrorFix fix)
{
    if (fix == m_errorFix)
        return;
    m_errorFix = fix;
    Q_EMIT errorFixChanged();
}

void ChatViewModel::setLastQuestion(const std::optional<QString>& question)
{
    if (question == m_lastQuestion)
        return;
    m_lastQuestion = question;
    Q_EMIT lastQuestionChanged();
}
