#pragma once

#include "result/ResultViewData.h"

#include <QWidget>

class Clock;
class CopyAnswerButton;
class GrowingTextField;
class QPushButton;

// The commands under a conversation. For rewrites: "Try again", Copy and (for an editable
// selection) "Replace" (Ctrl+Return). For other actions: the follow-up field, Copy and (for an
// editable selection) "Paste" (Ctrl+Return), which puts the answer over the selection. While the
// model works nothing that needs a finished answer can be pressed.
class ResultFooter : public QWidget {
    Q_OBJECT

public:
    ResultFooter(const ResultViewData& data, Clock& clock, QWidget* parent = nullptr);

    // Follows the streaming state and the latest answer.
    void follow(const ResultViewData& data);

    QPushButton* retryButton() const { return m_retry; }
    QPushButton* replaceButton() const { return m_replace; }
    CopyAnswerButton* copyButton() const { return m_copy; }
    GrowingTextField* followUpField() const { return m_followUp; }

Q_SIGNALS:
    void retryRequested();
    void copyRequested();
    void replaceRequested();
    void questionSubmitted(const QString& text);

private:
    void buildRewrite(const ResultViewData& data);
    void buildFollowUp(const ResultViewData& data);
    QPushButton* makeReplace(const ResultViewData& data, const QString& text);

    CopyAnswerButton* m_copy;
    QPushButton* m_retry = nullptr;
    QPushButton* m_replace = nullptr;
    GrowingTextField* m_followUp = nullptr;
};
