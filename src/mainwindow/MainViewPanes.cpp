// The parts of MainView that fill its two sides: the sidebar's rows and the detail pane.
#include "history/MainNavigation.h"
#include "mainwindow/HistoryRowDelegate.h"
#include "mainwindow/MainView.h"
#include "mainwindow/RewriteDetailView.h"

#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QMenu>

using Role = HistoryRowDelegate::Role;

void MainView::refreshList()
{
    m_filling = true;
    m_list->clear();
    if (m_store.conversations().isEmpty()) {
        addNote(tr("Your rewrites, answers and chats will appear here."));
    } else {
        const QList<HistoryListing::Group> grouped = groups();
        if (grouped.isEmpty())
            addNote(tr("Nothing matches."));
        addRows(grouped);
    }
    m_filling = false;
    selectCurrent();
}

void MainView::addNote(const QString& text)
{
    auto* item = new QListWidgetItem(text, m_list);
    item->setFlags(Qt::ItemIsEnabled);
    item->setData(Role::NoteRole, true);
}

void MainView::addRows(const QList<HistoryListing::Group>& groups)
{
    for (const HistoryListing::Group& group : groups) {
        auto* heading = new QListWidgetItem(group.label, m_list);
        heading->setFlags(Qt::ItemIsEnabled);
        heading->setData(Role::HeadingRole, true);
        for (const HistoryStore::Conversation& conversation : group.conversations) {
            auto* row = new QListWidgetItem(conversation.title, m_list);
            const QString second = subtitle(conversation);
            row->setData(Role::IdRole, conversation.id);
            row->setData(Role::SubtitleRole, second);
            row->setData(Role::IconNameRole, HistoryListing::kindIconName(conversation.kind));
            row->setData(Qt::AccessibleTextRole, conversation.title + QStringLiteral(", ") + second);
        }
    }
}

void MainView::selectCurrent()
{
    const QUuid selected = m_nav.selectedID();
    const QSignalBlocker block(m_list);
    m_list->clearSelection();
    for (int row = 0; row < m_list->count(); ++row) {
        QListWidgetItem* item = m_list->item(row);
        if (!selected.isNull() && item->data(Role::IdRole).toUuid() == selected) {
            item->setSelected(true);
            m_list->setCurrentItem(item, QItemSelectionModel::NoUpdate);
        }
    }
    m_list->viewport()->update();
}

void MainView::listSelectionChanged()
{
    if (m_filling)
        return;
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    if (!selected.isEmpty())
        m_nav.setSelectedID(selected.first()->data(Role::IdRole).toUuid());
}

void MainView::showContextMenu(const QPoint& position)
{
    QListWidgetItem* item = m_list->itemAt(position);
    if (!item || item->data(Role::IdRole).isNull())
        return;
    const QUuid id = item->data(Role::IdRole).toUuid();
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addAction(tr("Delete"), this, [this, id] { deleteConversation(id); });
    menu->popup(m_list->viewport()->mapToGlobal(position));
}

void MainView::refreshDetail()
{
    const std::optional<HistoryStore::Conversation> conversation = m_store.conversation(m_nav.selectedID());
    Detail detail = Detail::NewChat;
    QUuid identity = m_nav.newChatID();
    if (conversation) {
        detail = conversation->kind == HistoryStore::Kind::Rewrite ? Detail::Rewrite : Detail::Conversation;
        identity = conversation->id;
    }
    // A pane is rebuilt only when it is to show something else: a chat that saves its own
    // turns keeps running while the store changes under it, and the new chat stays the same
    // pane when its first answer makes it the selected conversation.
    // A rewrite's record has no life of its own: it is redrawn whenever the stored record
    // changes (a style switch in the panel saves the same conversation again).
    const bool sameChat = detail != Detail::Rewrite && m_detail != Detail::Rewrite;
    const bool sameRewrite = detail == Detail::Rewrite && m_detail == Detail::Rewrite && m_shownRewrite == conversation;
    if (m_detailWidget && identity == m_detailIdentity && (sameRewrite || sameChat)) {
        m_detail = detail;
        return;
    }
    m_shownRewrite = detail == Detail::Rewrite ? conversation : std::nullopt;
    m_detail = detail;
    m_detailIdentity = identity;
    QWidget* next = makeDetail(detail, conversation);
    if (m_detailWidget) {
        m_detailWidget->hide();
        m_detailWidget->deleteLater();
    }
    m_detailWidget = next;
    m_detailHost->layout()->addWidget(next);
}

QWidget* MainView::makeDetail(Detail detail, const std::optional<HistoryStore::Conversation>& conversation)
{
    if (detail == Detail::Rewrite)
        return new RewriteDetailView(*conversation, m_detailHost);
    if (m_chatFactory)
        return m_chatFactory(detail == Detail::Conversation ? conversation : std::nullopt, m_nav.newChatID(),
                             m_detailHost);
    auto* placeholder = new QLabel(m_detailHost);
    placeholder->setAlignment(Qt::AlignCenter);
    return placeholder;
}
