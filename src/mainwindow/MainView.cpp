#include "mainwindow/MainView.h"

#include "history/MainNavigation.h"
#include "mainwindow/HistoryRowDelegate.h"
#include "platform/Clock.h"
#include "ui/Icons.h"
#include "ui/Theme.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QSplitter>
#include <QVBoxLayout>

using Role = HistoryRowDelegate::Role;

MainView::MainView(MainNavigation& nav, HistoryStore& store, Clock& clock, ChatFactory chatFactory, QWidget* parent)
    : QWidget(parent), m_nav(nav), m_store(store), m_clock(clock), m_chatFactory(std::move(chatFactory))
{
    setMinimumSize(760, 500);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_splitter = new QSplitter(Qt::Horizontal, this);
    m_splitter->setChildrenCollapsible(false);
    m_splitter->addWidget(buildSidebar());
    m_detailHost = new QWidget(m_splitter);
    auto* detailLayout = new QVBoxLayout(m_detailHost);
    detailLayout->setContentsMargins(0, 0, 0, 0);
    m_splitter->addWidget(m_detailHost);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setSizes({270, 730});
    layout->addWidget(m_splitter);
    buildActions();
    connect(&m_store, &HistoryStore::conversationsChanged, this, &MainView::refreshList);
    connect(&m_store, &HistoryStore::conversationsChanged, this, &MainView::refreshDetail);
    connect(&m_nav, &MainNavigation::selectedIDChanged, this, &MainView::selectCurrent);
    connect(&m_nav, &MainNavigation::selectedIDChanged, this, &MainView::refreshDetail);
    connect(&m_nav, &MainNavigation::newChatIDChanged, this, &MainView::refreshDetail);
    refreshList();
    refreshDetail();
}

QWidget* MainView::buildSidebar()
{
    auto* sidebar = new QWidget(this);
    sidebar->setMinimumWidth(230);
    sidebar->setMaximumWidth(360);
    auto* column = new QVBoxLayout(sidebar);
    column->setContentsMargins(0, 8, 0, 0);
    column->setSpacing(6);
    m_filterPicker = new QComboBox(sidebar);
    m_filterPicker->setAccessibleName(tr("Show"));
    for (Filter filter : HistoryListing::allFilters())
        m_filterPicker->addItem(HistoryListing::label(filter), int(filter));
    m_search = new QLineEdit(sidebar);
    m_search->setPlaceholderText(tr("Search history"));
    m_search->setClearButtonEnabled(true);
    m_search->setAccessibleName(tr("Search history"));
    auto* controls = new QVBoxLayout;
    controls->setContentsMargins(12, 0, 12, 6);
    controls->addWidget(m_filterPicker);
    controls->addWidget(m_search);
    column->addLayout(controls);
    m_list = new QListWidget(sidebar);
    m_list->setItemDelegate(new HistoryRowDelegate(m_list));
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    m_list->setUniformItemSizes(false);
    column->addWidget(m_list, 1);
    connect(m_filterPicker, &QComboBox::activated, this,
            [this](int index) { setFilter(Filter(m_filterPicker->itemData(index).toInt())); });
    connect(m_search, &QLineEdit::textChanged, this, &MainView::refreshList);
    connect(m_list, &QListWidget::itemSelectionChanged, this, &MainView::listSelectionChanged);
    connect(m_list, &QWidget::customContextMenuRequested, this, &MainView::showContextMenu);
    return sidebar;
}

void MainView::buildActions()
{
    const bool dark = Theme::isDark(palette());
    m_newChat = new QAction(Icons::tinted(QStringLiteral("compose"), Theme::text(dark), Theme::secondaryText(dark)),
                            tr("New Chat"), this);
    m_newChat->setToolTip(tr("New chat (Ctrl+N)"));
    m_newChat->setShortcut(QKeySequence::New);
    m_newChat->setShortcutContext(Qt::WindowShortcut);
    addAction(m_newChat);
    connect(m_newChat, &QAction::triggered, &m_nav, &MainNavigation::startNewChat);
    // Delete, for the window's Edit menu and the Delete key in the list; with no conversation
    // selected it is disabled. The key acts only in the list, so that it still deletes text
    // in the search field and the chat's composer.
    m_delete = new QAction(tr("Delete"), this);
    m_delete->setShortcut(QKeySequence::Delete);
    m_delete->setShortcutContext(Qt::WidgetShortcut);
    m_list->addAction(m_delete);
    connect(m_delete, &QAction::triggered, this, [this] {
        if (!m_nav.selectedID().isNull())
            deleteConversation(m_nav.selectedID());
    });
    const auto enableDelete = [this] { m_delete->setEnabled(!m_nav.selectedID().isNull()); };
    connect(&m_nav, &MainNavigation::selectedIDChanged, this, enableDelete);
    enableDelete();
}

QList<HistoryStore::Conversation> MainView::filtered() const
{
    return HistoryListing::filtered(m_store.conversations(), m_filter, search());
}

QList<HistoryListing::Group> MainView::groups() const
{
    return HistoryListing::groups(filtered(), m_clock.now(), QTimeZone::systemTimeZone());
}

QString MainView::subtitle(const HistoryStore::Conversation& conversation)
{
    return HistoryListing::subtitle(conversation);
}

void MainView::deleteConversation(const QUuid& id)
{
    if (m_nav.selectedID() == id)
        m_nav.setSelectedID(QUuid());
    m_store.deleteConversation(id);
}

void MainView::setFilter(Filter filter)
{
    if (m_filter == filter)
        return;
    m_filter = filter;
    m_filterPicker->setCurrentIndex(m_filterPicker->findData(int(filter)));
    refreshList();
}

QString MainView::search() const
{
    return m_search->text();
}

void MainView::setSearch(const QString& search)
{
    m_search->setText(search);
}
