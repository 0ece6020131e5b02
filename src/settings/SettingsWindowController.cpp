#include "settings/SettingsWindowController.h"

#include "common/FreedMemory.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

SettingsWindowController::SettingsWindowController(SettingsView::Services services) : m_services(std::move(services)) {}

SettingsWindowController::~SettingsWindowController()
{
    delete m_window;
}

void SettingsWindowController::show()
{
    if (!m_window)
        create();
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

void SettingsWindowController::create()
{
    m_window = new QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    m_window->setWindowTitle(QCoreApplication::translate("SettingsWindowController", "Halvora Settings"));
    m_window->setObjectName(QStringLiteral("HalvoraSettingsWindow"));
    m_window->setAttribute(Qt::WA_DeleteOnClose);
    FreedMemory::returnAfterDestroyed(m_window);
    auto* layout = new QVBoxLayout(m_window);
    layout->setContentsMargins(0, 0, 0, 0);
    m_view = new SettingsView(m_services, m_window);
    layout->addWidget(m_view);
    m_window->setFixedWidth(width);
    m_window->setMinimumHeight(minimumHeight);
    m_window->resize(width, idealHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), m_window->size());
        frame.moveCenter(screen->availableGeometry().center());
        m_window->move(frame.topLeft());
    }
}
