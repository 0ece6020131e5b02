#include "mainwindow/MainWindowController.h"

#include "common/FreedMemory.h"
#include "history/MainNavigation.h"
#include "platform/Preferences.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QToolBar>

MainWindowController::MainWindowController(Services services, QObject* parent)
    : QObject(parent), m_services(std::move(services))
{
    // Quitting from the tray or the command line does not close the window first.
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, [this] {
        if (m_window && m_window->isVisible())
            saveFrame();
    });
    m_release.setSingleShot(true);
    connect(&m_release, &QTimer::timeout, this, &MainWindowController::release);
}

MainWindowController::~MainWindowController()
{
    if (!m_window)
        return;
    // No more events of the window while it takes itself apart.
    m_window->removeEventFilter(this);
    delete m_window.data();
}

QString MainWindowController::frameKey()
{
    return QStringLiteral("HalvoraMainWindow");
}

void MainWindowController::show(const QUuid& conversation, bool newChat)
{
    if (!conversation.isNull())
        m_services.nav.setSelectedID(conversation);
    else if (newChat)
        m_services.nav.startNewChat();
    m_release.stop();
    if (!m_window)
        create();
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

void MainWindowController::create()
{
    m_window = new QMainWindow;
    m_window->setWindowTitle(tr("Halvora"));
    m_window->setObjectName(QStringLiteral("HalvoraMainWindow"));
    m_view = new MainView(m_services.nav, m_services.store, m_services.clock, m_services.chatFactory, m_window);
    if (m_viewState) {
        m_view->setFilter(m_viewState->filter);
        m_view->setSearch(m_viewState->search);
        m_view->splitter()->restoreState(m_viewState->splitter);
    }
    m_window->setCentralWidget(m_view);
    QToolBar* toolbar = m_window->addToolBar(tr("Toolbar"));
    toolbar->setObjectName(QStringLiteral("mainToolbar"));
    toolbar->setMovable(false);
    toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    toolbar->addAction(m_view->newChatAction());
    m_editMenu = m_window->menuBar()->addMenu(tr("&Edit"));
    m_editMenu->addAction(m_view->deleteAction());
    addProgramMenu();
    m_window->resize(1000, 680);
    m_window->installEventFilter(this);
    restoreFrame();
}

void MainWindowController::setProgramMenu(std::function<void(QMenu*)> fill)
{
    m_fillProgramMenu = std::move(fill);
    if (m_window)
        addProgramMenu();
}

void MainWindowController::addProgramMenu()
{
    if (!m_fillProgramMenu)
        return;
    auto* menu = new QMenu(tr("&Halvora"), m_window);
    m_window->menuBar()->insertMenu(m_editMenu->menuAction(), menu);
    m_fillProgramMenu(menu);
}

void MainWindowController::restoreFrame()
{
    const QByteArray saved = QByteArray::fromBase64(m_services.defaults.value(frameKey()).toString().toLatin1());
    if (!saved.isEmpty() && m_window->restoreGeometry(saved))
        return;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), m_window->size());
        frame.moveCenter(screen->availableGeometry().center());
        m_window->move(frame.topLeft());
    }
}

void MainWindowController::saveFrame()
{
    m_services.defaults.setValue(frameKey(), QString::fromLatin1(m_window->saveGeometry().toBase64()));
}

// Runs from the event loop once the window has closed; a window shown again meanwhile stays.
void MainWindowController::release()
{
    if (!m_window || m_window->isVisible())
        return;
    if (m_services.detailBusy && m_services.detailBusy(m_view->detailWidget())) {
        m_release.start(busyRetryMs);
        return;
    }
    m_viewState = ViewState{m_view->search(), m_view->filter(), m_view->splitter()->saveState()};
    m_window->removeEventFilter(this);
    delete m_window.data();
    m_view = nullptr;
    m_editMenu = nullptr;
    QTimer::singleShot(0, &FreedMemory::returnToSystem);
}

bool MainWindowController::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window && event->type() == QEvent::Close) {
        saveFrame();
        m_release.start(0);
    }
    return QObject::eventFilter(watched, event);
}
