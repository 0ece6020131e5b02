#pragma once

#include "chat/ChatViewModel.h"

#include <QWidget>

class MarkdownView;
class QLabel;
class QToolButton;
class QVBoxLayout;
class SourcesList;

// One question and answer of a chat: the question in a bubble, "Deep research" for a turn
// with web research, the answer as Markdown, its sources and a Copy button. setTurn() updates
// only what changed, so a streaming answer keeps its widgets. Its colours and icons follow the
// light and dark appearance while it is shown.
class ChatTurnView : public QWidget {
    Q_OBJECT
public:
    explicit ChatTurnView(const ConversationTurn& turn, QWidget* parent = nullptr);

    void setTurn(const ConversationTurn& turn);
    const ConversationTurn& turn() const { return m_turn; }
    MarkdownView* answer() const { return m_answer; }

Q_SIGNALS:
    void copyRequested(const ConversationTurn& turn);

protected:
    void changeEvent(QEvent* event) override;

private:
    void restyle();
    QWidget* buildQuestion(const QString& question);
    QWidget* buildDeepLabel();
    QWidget* buildCopy();
    void setSources(const QList<WebSource>& sources);

    ConversationTurn m_turn;
    QVBoxLayout* m_column = nullptr;
    MarkdownView* m_answer = nullptr;
    SourcesList* m_sources = nullptr;
    QLabel* m_question = nullptr;
    QLabel* m_deepIcon = nullptr;
    QToolButton* m_copy = nullptr;
    QList<WebSource> m_shownSources;
};
