#include "history/MainNavigation.h"
#include "mainwindow/HistoryRowDelegate.h"
#include "mainwindow/MainWindowController.h"
#include "mainwindow/RewriteBlock.h"
#include "mainwindow/RewriteDetailView.h"
#include "platform/MemoryPreferences.h"
#include "platform/fake/FakePlatform.h"

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using Kind = HistoryStore::Kind;
using Detail = MainView::Detail;

class TestMainWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<FakePlatform> m_platform;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<HistoryStore> m_store;
    std::unique_ptr<MainNavigation> m_nav;
    std::unique_ptr<MainWindowController> m_controller;
    MemoryPreferences m_preferences;
    bool m_busy = false;

    QUuid add(Kind kind, const QString& title)
    {
        HistoryStore::Conversation c;
        c.kind = kind;
        c.title = title;
        c.createdAt = c.updatedAt = m_platform->clock.now();
        c.turns.append(HistoryStore::Turn{QUuid::createUuid(), std::nullopt, QStringLiteral("  Answer\n"), {}, false});
        m_store->upsert(c);
        return c.id;
    }

    MainView* view() const { return m_controller->view(); }

    QAction* menuCommand(const QString& menu, const QString& command) const
    {
        for (QAction* top : m_controller->window()->menuBar()->actions())
            if (top->text() == menu && top->menu())
                for (QAction* action : top->menu()->actions())
                    if (action->text() == command)
                        return action;
        return nullptr;
    }

    QStringList rows() const
    {
        QStringList texts;
        for (int i = 0; i < view()->list()->count(); ++i)
            texts.append(view()->list()->item(i)->text());
        return texts;
    }

    std::unique_ptr<MainWindowController> makeController()
    {
        auto chat = [](const std::optional<HistoryStore::Conversation>&, const QUuid&, QWidget* parent) {
            return new QWidget(parent);
        };
        auto busy = [this](const QWidget*) { return m_busy; };
        return std::make_unique<MainWindowController>(
            MainWindowController::Services{*m_nav, *m_store, m_platform->clock, m_preferences, chat, busy});
    }

private Q_SLOTS:
    void init()
    {
        m_platform = std::make_unique<FakePlatform>();
        m_dir = std::make_unique<QTemporaryDir>();
        m_store = std::make_unique<HistoryStore>(m_dir->filePath("History.json"), m_platform->clock);
        m_nav = std::make_unique<MainNavigation>();
        m_preferences = MemoryPreferences();
        m_busy = false;
        m_controller = makeController();
    }

    void cleanup()
    {
        m_controller.reset();
        m_nav.reset();
        m_store.reset();
        m_platform.reset();
    }

    void showKeepsOrChangesTheSelection()
    {
        m_controller->show();
        QCOMPARE(view()->detail(), Detail::NewChat);
        const QUuid chat = add(Kind::Chat, "A chat");
        m_controller->show(chat, false);
        QCOMPARE(view()->detail(), Detail::Conversation);
        m_controller->window()->close();
        m_controller->show();
        QCOMPARE(m_nav->selectedID(), chat);
        const QUuid oldNewChat = m_nav->newChatID();
        m_controller->show(QUuid(), true);
        QCOMPARE(view()->detail(), Detail::NewChat);
        QVERIFY(m_nav->newChatID() != oldNewChat);
    }

    void detailPaneFollowsTheSelection_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("stored");
        QTest::addColumn<int>("detail");
        QTest::newRow("rewrite") << int(Kind::Rewrite) << true << int(Detail::Rewrite);
        QTest::newRow("research") << int(Kind::Research) << true << int(Detail::Conversation);
        QTest::newRow("chat") << int(Kind::Chat) << true << int(Detail::Conversation);
        QTest::newRow("id no longer stored") << int(Kind::Chat) << false << int(Detail::NewChat);
    }

    void detailPaneFollowsTheSelection()
    {
        QFETCH(int, kind);
        QFETCH(bool, stored);
        QFETCH(int, detail);
        m_controller->show();
        const QUuid id = stored ? add(Kind(kind), "x") : QUuid::createUuid();
        m_nav->setSelectedID(id);
        QCOMPARE(int(view()->detail()), detail);
        QCOMPARE(view()->detailIdentity(), stored ? id : m_nav->newChatID());
        QCOMPARE(qobject_cast<RewriteDetailView*>(view()->detailWidget()) != nullptr, detail == int(Detail::Rewrite));
    }

    void aChatSavingItsTurnKeepsItsPane()
    {
        m_controller->show();
        QWidget* pane = view()->detailWidget();
        HistoryStore::Conversation c;
        c.id = m_nav->newChatID();
        c.title = QStringLiteral("New");
        c.createdAt = c.updatedAt = m_platform->clock.now();
        c.turns.append(HistoryStore::Turn{});
        m_store->upsert(c);
        QCOMPARE(view()->detailWidget(), pane);
        m_nav->setSelectedID(c.id);
        QCOMPARE(view()->detailWidget(), pane);
        QCOMPARE(view()->detail(), Detail::Conversation);
    }

    void deleting_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("selected");
        QTest::newRow("the selected one, by the Delete key in the list") << "key" << true;
        QTest::newRow("the selected one, from the Edit menu") << "menu" << true;
        QTest::newRow("the selected one, from its context menu") << "row" << true;
        QTest::newRow("another one, from its context menu") << "row" << false;
    }

    void deleting()
    {
        QFETCH(QString, how);
        QFETCH(bool, selected);
        const QUuid first = add(Kind::Chat, "First");
        const QUuid second = add(Kind::Ask, "Second");
        m_controller->show(second, false);
        if (how == "key") {
            QVERIFY(QTest::qWaitForWindowActive(m_controller->window()));
            view()->list()->setFocus();
            QTest::keyClick(view()->list(), Qt::Key_Delete);
        } else if (how == "menu") {
            QAction* del = menuCommand("&Edit", "Delete");
            QVERIFY(del && del->isEnabled());
            del->trigger();
        } else {
            view()->deleteConversation(selected ? second : first);
        }
        QCOMPARE(m_store->conversations().size(), 1);
        QCOMPARE(m_nav->selectedID(), selected ? QUuid() : second);
        QCOMPARE(view()->detail(), selected ? Detail::NewChat : Detail::Conversation);
        QCOMPARE(rows(), QStringList({"Today", selected ? "First" : "Second"}));
        QCOMPARE(menuCommand("&Edit", "Delete")->isEnabled(), !selected);
    }

    // The Delete key belongs to the text fields while they have the keyboard.
    void deleteKeyInTheSearchFieldDeletesText()
    {
        add(Kind::Chat, "First");
        m_controller->show(m_store->conversations().first().id, false);
        QVERIFY(QTest::qWaitForWindowActive(m_controller->window()));
        auto* search = view()->findChild<QLineEdit*>();
        search->setFocus();
        search->setText(QStringLiteral("ab"));
        search->setCursorPosition(0);
        QTest::keyClick(search, Qt::Key_Delete);
        QCOMPARE(search->text(), QStringLiteral("b"));
        QCOMPARE(m_store->conversations().size(), 1);
    }

    // Saving the shown rewrite again (another style chosen in the panel) redraws it.
    void aRewriteSavedAgainIsRedrawn()
    {
        HistoryStore::Conversation c;
        c.kind = Kind::Rewrite;
        c.style = QStringLiteral("Shorter");
        c.createdAt = c.updatedAt = m_platform->clock.now();
        c.turns.append(HistoryStore::Turn{QUuid::createUuid(), std::nullopt, QStringLiteral("Short."), {}, false});
        m_store->upsert(c);
        m_controller->show(c.id, false);
        c.style = QStringLiteral("Friendlier");
        c.turns.last().answer = QStringLiteral("Hello there!");
        m_store->upsert(c);
        auto* detail = qobject_cast<RewriteDetailView*>(view()->detailWidget());
        QVERIFY(detail);
        QCOMPARE(detail->rewrite()->title(), QStringLiteral("Friendlier"));
        QCOMPARE(detail->rewrite()->text(), QStringLiteral("Hello there!"));
    }

    void rewriteDateLine_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("expected");
        QTest::newRow("C/POSIX: no seconds") << "C"
                                             << "4 Mar 2025, 18:05";
        QTest::newRow("American English") << "en_US"
                                          << "Mar 4, 2025, 6:05 PM";
        QTest::newRow("British English") << "en_GB"
                                         << "4 Mar 2025, 18:05";
        QTest::newRow("German") << "de_DE"
                                << "4. März 2025, 18:05";
    }

    void rewriteDateLine()
    {
        QFETCH(QString, locale);
        QFETCH(QString, expected);
        const QDateTime moment(QDate(2025, 3, 4), QTime(18, 5, 42));
        QString text = RewriteDetailView::when(moment, QLocale(locale));
        // Some locales put a (narrow) no-break space before AM/PM.
        text.replace(QChar(0x202f), QLatin1Char(' ')).replace(QChar(0xa0), QLatin1Char(' '));
        QCOMPARE(text, expected);
    }

    void emptyAndNoMatchRows()
    {
        m_controller->show();
        QCOMPARE(rows(), QStringList{"Your rewrites, answers and chats will appear here."});
        add(Kind::Chat, "Apples");
        view()->setSearch(QStringLiteral("pears"));
        QCOMPARE(rows(), QStringList{"Nothing matches."});
        view()->setSearch(QStringLiteral("APP"));
        QCOMPARE(rows(), QStringList({"Today", "Apples"}));
        view()->setFilter(MainView::Filter::Rewrites);
        QCOMPARE(rows(), QStringList{"Nothing matches."});
    }

    void clickingARowSelectsItAndNewChatLeavesIt()
    {
        const QUuid id = add(Kind::Chat, "A chat");
        m_controller->show();
        view()->list()->item(1)->setSelected(true);
        QCOMPARE(m_nav->selectedID(), id);
        view()->newChatAction()->trigger();
        QCOMPARE(m_nav->selectedID(), QUuid());
        QVERIFY(view()->list()->selectedItems().isEmpty());
        QCOMPARE(view()->newChatAction()->shortcut(), QKeySequence(QKeySequence::New));
    }

    void rewriteBlocksCopy()
    {
        HistoryStore::Conversation c;
        c.kind = Kind::Rewrite;
        c.style = QStringLiteral("Shorter");
        c.turns.append(
            HistoryStore::Turn{QUuid::createUuid(), std::nullopt, QStringLiteral("\n Short. \n"), {}, false});
        RewriteDetailView detail(c);
        QCOMPARE(detail.original()->text(), QString());
        QCOMPARE(detail.rewrite()->title(), QStringLiteral("Shorter"));
        detail.rewrite()->copyButton()->click();
        QCOMPARE(m_platform->clipboard->string(), QStringLiteral("Short."));
        QCOMPARE(detail.rewrite()->copyButton()->text(), QStringLiteral("Copied"));
        detail.original()->copyButton()->click();
        QCOMPARE(detail.copied(), QStringLiteral("Original"));
        QCOMPARE(detail.rewrite()->copyButton()->text(), QStringLiteral("Copy"));
    }

    // A closed window goes once control is back in the event loop; the next show() makes one
    // that shows what the last one did, the program's menu included.
    void aClosedWindowIsMadeAgainAsItWas_data()
    {
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QString>("search");
        QTest::addColumn<int>("filter");
        QTest::addColumn<int>("detail");
        QTest::newRow("the new chat") << ""
                                      << "" << int(MainView::Filter::All) << int(Detail::NewChat);
        QTest::newRow("a chat, searched") << "A chat"
                                          << "cha" << int(MainView::Filter::All) << int(Detail::Conversation);
        QTest::newRow("a rewrite, filtered") << "A rewrite"
                                             << "" << int(MainView::Filter::Rewrites) << int(Detail::Rewrite);
    }
    void aClosedWindowIsMadeAgainAsItWas()
    {
        QFETCH(QString, selected);
        QFETCH(QString, search);
        QFETCH(int, filter);
        const QMap<QString, QUuid> ids{{"A chat", add(Kind::Chat, "A chat")},
                                       {"A rewrite", add(Kind::Rewrite, "A rewrite")}};
        m_controller->setProgramMenu([](QMenu* menu) { menu->addAction(QStringLiteral("Quit Halvora")); });
        m_controller->show(ids.value(selected), false);
        view()->setFilter(MainView::Filter(filter));
        view()->setSearch(search);
        view()->splitter()->setSizes({320, 680});
        const QStringList shownRows = rows();
        const QPointer<QMainWindow> first = m_controller->window();
        const QPointer<QWidget> firstDetail = view()->detailWidget();
        first->close();
        QTRY_VERIFY(!first);
        QVERIFY(!firstDetail);
        QVERIFY(!m_controller->window() && !view());
        m_controller->show();
        QVERIFY(m_controller->window()->isVisible());
        QTEST(int(view()->detail()), "detail");
        QCOMPARE(view()->detailIdentity(), selected.isEmpty() ? m_nav->newChatID() : ids.value(selected));
        QCOMPARE(view()->search(), search);
        QCOMPARE(int(view()->filter()), filter);
        QCOMPARE(rows(), shownRows);
        QStringList chosen;
        for (const QListWidgetItem* item : view()->list()->selectedItems())
            chosen.append(item->text());
        QCOMPARE(chosen, selected.isEmpty() ? QStringList() : QStringList{selected});
        QCOMPARE(view()->splitter()->sizes().constFirst(), 320);
        QVERIFY(menuCommand("&Halvora", "Quit Halvora"));
    }

    // A window shown again before it went is the same window; one whose pane is still busy
    // stays until the pane is done.
    void aWindowStaysWhileShownOrBusy_data()
    {
        QTest::addColumn<bool>("busy");
        QTest::newRow("shown again at once") << false;
        QTest::newRow("its pane busy") << true;
    }
    void aWindowStaysWhileShownOrBusy()
    {
        QFETCH(bool, busy);
        m_busy = busy;
        m_controller->show();
        const QPointer<QMainWindow> window = m_controller->window();
        window->close();
        if (!busy)
            m_controller->show();
        QTest::qWait(50);
        QVERIFY(window);
        QCOMPARE(window->isVisible(), !busy);
        m_busy = false;
        if (busy)
            QTRY_VERIFY_WITH_TIMEOUT(!window, 3 * MainWindowController::busyRetryMs);
        else
            QVERIFY(window);
    }

    void theFrameIsKeptAcrossRuns_data()
    {
        QTest::addColumn<bool>("quitWithItOpen");
        QTest::newRow("closed, then the program ends") << false;
        QTest::newRow("the program quits with it open") << true;
    }

    void theFrameIsKeptAcrossRuns()
    {
        QFETCH(bool, quitWithItOpen);
        m_controller->show();
        m_controller->window()->setGeometry(120, 90, 900, 600);
        if (quitWithItOpen)
            QMetaObject::invokeMethod(QCoreApplication::instance(), "aboutToQuit", Qt::DirectConnection);
        else
            m_controller->window()->close();
        m_controller = makeController();
        m_controller->show();
        QCOMPARE(m_controller->window()->size(), QSize(900, 600));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
