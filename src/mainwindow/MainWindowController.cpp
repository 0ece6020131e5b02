#include "mainwindow/MainWindowController.h"

#include "history/MainNavigation.h"
#include "platform/Preferences.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QToolBar>

MainWindowController::MainWindowController(Services services, QObject* parent)
    : QObject(parent), m_services(std::move(services))
{
    // Quitting from the tray or the command line does not close the window first.
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, [this] {
        if (m_window && m_window->isVisible())
            saveFrame();
    });
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
    m_window->setCentralWidget(m_view);
    QToolBar* toolbar = m_window->addToolBar(tr("Toolbar"));
    toolbar->setObjectName(QStringLiteral("mainToolbar"));
    toolbar->setMovable(false);
    toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    toolbar->addAction(m_view->newChatAction());
    m_editMenu = m_window->menuBar()->addMenu(tr("&Edit"));
    m_editMenu->addAction(m_view->deleteAction());
    m_window->resize(1000, 680);
    m_window->installEventFilter(this);
    restoreFrame();
}

QMenu* MainWindowController::programMenu()
{
    if (!m_window)
        create();
    if (!m_programMenu)
        m_programMenu =
            m_window->menuBar()->insertMenu(m_editMenu->menuAction(), new QMenu(tr("&Halvora"), m_window))->menu();
    return m_programMenu;
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

bool MainWindowController::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window && event->type() == QEvent::Close)
        saveFrame();
    return QObject::eventFilter(watched, event);
}
