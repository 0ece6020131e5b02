#pragma once

#include <QWidget>

class ChatViewModel;
class GrowingTextField;
class QLabel;
class QPushButton;
class QToolButton;

// The bottom of a chat: the message field bound to the draft (Return sends, Alt+Return starts
// a new line) in a rounded box of the theme's surface colour, the Deep research toggle for free
// chats, the send button, "Sign In to chat" while signed out, and the key hint. Its icons and
// box follow the light and dark appearance while it is shown.
class ChatComposer : public QWidget {
    Q_OBJECT
public:
    ChatComposer(ChatViewModel& model, bool signedIn, QWidget* parent = nullptr);

    GrowingTextField* field() const { return m_field; }
    QPushButton* sendButton() const { return m_send; }
    QToolButton* deepToggle() const { return m_deep; }
    QPushButton* signInButton() const { return m_signIn; }
    QWidget* fieldBox() const { return m_box; }

    // Offers "Sign In to chat" exactly while there is no account token.
    void setSignedIn(bool signedIn);

Q_SIGNALS:
    void signInRequested();

protected:
    void changeEvent(QEvent* event) override;

private:
    QWidget* buildField();
    QWidget* buildButtons();
    void readModel();
    void updateIcons();

    ChatViewModel& m_model;
    GrowingTextField* m_field = nullptr;
    QWidget* m_box = nullptr;
    QToolButton* m_deep = nullptr;
    QPushButton* m_send = nullptr;
    QPushButton* m_signIn = nullptr;
};
