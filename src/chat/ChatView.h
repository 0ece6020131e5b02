#pragma once

#include <QWidget>
#include <functional>

class ChatComposer;
class ChatTranscript;
class ChatViewModel;
class QStackedWidget;

// The main window's pane for one chat: the transcript (or, before the first question, a short
// welcome) and the composer. While shown it names its window after the chat: the chat's title
// and, after a dash, what kind of conversation it is and where it came from. Leaving the chat
// stops its running turn.
class ChatView : public QWidget {
    Q_OBJECT
public:
    // The view takes the model over. signIn starts a sign-in; signedIn says whether there is
    // an account token now.
    ChatView(ChatViewModel* model, bool signedIn, std::function<void()> signIn, QWidget* parent = nullptr);
    ~ChatView() override;

    ChatViewModel& model() const { return *m_model; }
    ChatComposer* composer() const { return m_composer; }
    ChatTranscript* transcript() const { return m_transcript; }
    bool showsEmptyState() const;
    QString subtitle() const;
    // Offers "Sign In to chat" exactly while there is no account token.
    void setSignedIn(bool signedIn);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QWidget* buildEmptyState();
    void update();
    void nameWindow();

    ChatViewModel* m_model;
    std::function<void()> m_signIn;
    QStackedWidget* m_content = nullptr;
    QWidget* m_empty = nullptr;
    ChatTranscript* m_transcript = nullptr;
    ChatComposer* m_composer = nullptr;
};
