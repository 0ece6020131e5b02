#pragma once

#include "history/HistoryStore.h"

#include <QUuid>
#include <QWidget>
#include <optional>

class ChatComposer;
class ChatTranscript;
class ChatViewModel;
struct ConversationServices;
class QStackedWidget;

// The main window's pane for one chat: the transcript (or, before the first question, a short
// welcome) and the composer. While shown it names its window after the chat: the chat's title
// and, after a dash, what kind of conversation it is and where it came from. Leaving the chat
// stops its running turn.
class ChatView : public QWidget {
    Q_OBJECT
public:
    // The view takes the model over. signedIn says whether there is an account token now.
    ChatView(ChatViewModel* model, bool signedIn, QWidget* parent = nullptr);
    ~ChatView() override;
    // A pane on a stored conversation to continue, or on a new chat with newChatID when there is
    // none: what the main window asks for each time it shows a chat.
    static ChatView* open(const std::optional<HistoryStore::Conversation>& conversation, const QUuid& newChatID,
                          const ConversationServices& services, bool signedIn, QWidget* parent);

    ChatViewModel& model() const { return *m_model; }
    ChatComposer* composer() const { return m_composer; }
    ChatTranscript* transcript() const { return m_transcript; }
    bool showsEmptyState() const;
    QString subtitle() const;
    // Offers "Sign In to chat" exactly while there is no account token.
    void setSignedIn(bool signedIn);

Q_SIGNALS:
    // "Sign In to chat" was chosen.
    void signInRequested();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QWidget* buildEmptyState();
    void update();
    void nameWindow();

    ChatViewModel* m_model;
    QStackedWidget* m_content = nullptr;
    QWidget* m_empty = nullptr;
    ChatTranscript* m_transcript = nullptr;
    ChatComposer* m_composer = nullptr;
};
