#pragma once

#include "history/HistoryListing.h"

#include <QWidget>
#include <functional>
#include <optional>

class Clock;
class HistoryStore;
class MainNavigation;
class QAction;
class QComboBox;
class QLineEdit;
class QListWidget;
class QSplitter;

// The main window's content: on the left the history, filtered, searched and grouped by day,
// with a context menu and a Delete command to remove a conversation; on the right the selected
// conversation (a rewrite's record, or a chat that can be continued) or the new chat.
class MainView : public QWidget {
    Q_OBJECT
public:
    using Filter = HistoryListing::Filter;
    // What the right side shows.
    enum class Detail { Rewrite, Conversation, NewChat };
    // Makes the chat pane for a stored conversation, or for the new chat when there is none.
    using ChatFactory = std::function<QWidget*(const std::optional<HistoryStore::Conversation>&, const QUuid& newChatID,
                                               QWidget* parent)>;

    MainView(MainNavigation& nav, HistoryStore& store, Clock& clock, ChatFactory chatFactory,
             QWidget* parent = nullptr);

    QList<HistoryStore::Conversation> filtered() const;
    QList<HistoryListing::Group> groups() const;
    static QString subtitle(const HistoryStore::Conversation& conversation);
    // Deletes a conversation; when it is the one shown, the new chat is shown instead.
    void deleteConversation(const QUuid& id);

    Filter filter() const { return m_filter; }
    void setFilter(Filter filter);
    QString search() const;
    void setSearch(const QString& search);

    Detail detail() const { return m_detail; }
    // The conversation shown on the right, or the new chat's id.
    QUuid detailIdentity() const { return m_detailIdentity; }
    QWidget* detailWidget() const { return m_detailWidget; }
    QListWidget* list() const { return m_list; }
    // The history beside the detail pane; its sizes are the sidebar's width.
    QSplitter* splitter() const { return m_splitter; }
    // "New Chat" (Ctrl+N), for the window's toolbar.
    QAction* newChatAction() const { return m_newChat; }
    // "Delete" (the Delete key in the list), for the window's Edit menu.
    QAction* deleteAction() const { return m_delete; }

private:
    QWidget* buildSidebar();
    void buildActions();
    void refreshList();
    void addRows(const QList<HistoryListing::Group>& groups);
    void addNote(const QString& text);
    void selectCurrent();
    void listSelectionChanged();
    void showContextMenu(const QPoint& position);
    void refreshDetail();
    QWidget* makeDetail(Detail detail, const std::optional<HistoryStore::Conversation>& conversation);

    MainNavigation& m_nav;
    HistoryStore& m_store;
    Clock& m_clock;
    ChatFactory m_chatFactory;
    Filter m_filter = Filter::All;
    QComboBox* m_filterPicker = nullptr;
    QLineEdit* m_search = nullptr;
    QListWidget* m_list = nullptr;
    QSplitter* m_splitter = nullptr;
    QWidget* m_detailHost = nullptr;
    QWidget* m_detailWidget = nullptr;
    QAction* m_newChat = nullptr;
    QAction* m_delete = nullptr;
    Detail m_detail = Detail::NewChat;
    QUuid m_detailIdentity;
    // The record the rewrite pane was drawn from.
    std::optional<HistoryStore::Conversation> m_shownRewrite;
    bool m_filling = false;
};
