#pragma once

#include <QWidget>

class ChatViewModel;
class GrowingTextField;
class QLabel;
class QPushButton;
class QToolButton;

// The bottom of a chat: the message field bound to the draft (Return sends, Alt+Return starts
// a new line), the Deep research toggle for free chats, the send button, "Sign In to chat"
// while signed out, and the key hint.
class ChatComposer : public QWidget {
    Q_OBJECT
public:
    ChatComposer(ChatViewModel& model, bool signedIn, QWidget* parent = nullptr);

    GrowingTextField* field() const { return m_field; }
    QPushButton* sendButton() const { return m_send; }
    QToolButton* deepToggle() const { return m_deep; }
    QPushButton* signInButton() const { return m_signIn; }

Q_SIGNALS:
    void signInRequested();

private:
    QWidget* buildButtons(bool signedIn);
    void readModel();

    ChatViewModel& m_model;
    GrowingTextField* m_field = nullptr;
    QToolButton* m_deep = nullptr;
    QPushButton* m_send = nullptr;
    QPushButton* m_signIn = nullptr;
};
