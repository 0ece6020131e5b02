#include "result/WindowAnnouncer.h"

#include "ui/AccessibleAnnouncement.h"

#include <QApplication>
#include <QWidget>

WindowAnnouncer::WindowAnnouncer(Windows windows) : m_windows(std::move(windows)) {}

void WindowAnnouncer::announce(const QString& text)
{
    if (QWidget* window = target())
        AccessibleAnnouncement::announce(window, text);
}

QWidget* WindowAnnouncer::target() const
{
    if (QWidget* active = QApplication::activeWindow())
        return active;
    const QList<QWidget*> windows = m_windows ? m_windows() : QList<QWidget*>();
    for (QWidget* window : windows) {
        if (window && window->isVisible())
            return window;
    }
    return nullptr;
}
