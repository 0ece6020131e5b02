#pragma once

#include <QScrollArea>

class ChatTurnView;
class ChatViewModel;
class QLabel;
class QPushButton;
class QVBoxLayout;
class QuoteButton;

// The scrolling record of a chat: the quoted selection (four lines until clicked), one block
// per turn, the status row with Stop (Ctrl+.) while a turn streams, and the error row with
// its remedy. When a turn is added the newest one is scrolled to the top.
class ChatTranscript : public QScrollArea {
    Q_OBJECT
public:
    explicit ChatTranscript(ChatViewModel& model, QWidget* parent = nullptr);

    QList<ChatTurnView*> turnViews() const { return m_turns; }
    QWidget* statusRow() const { return m_statusRow; }
    QLabel* statusLabel() const { return m_status; }
    QWidget* errorRow() const { return m_errorRow; }
    QPushButton* remedyButton() const { return m_remedy; }
    QuoteButton* quote() const { return m_quote; }

Q_SIGNALS:
    void signInRequested();

private:
    QWidget* buildStatusRow();
    QWidget* buildErrorRow();
    void syncTurns();
    void updateStatus();
    void updateError();
    void scrollToNewest();

    ChatViewModel& m_model;
    QVBoxLayout* m_column = nullptr;
    QuoteButton* m_quote = nullptr;
    QList<ChatTurnView*> m_turns;
    QWidget* m_statusRow = nullptr;
    QLabel* m_status = nullptr;
    QWidget* m_errorRow = nullptr;
    QLabel* m_error = nullptr;
    QPushButton* m_remedy = nullptr;
};
