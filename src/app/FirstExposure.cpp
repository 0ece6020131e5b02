#include "app/FirstExposure.h"

#include <QEvent>
#include <QTimer>
#include <QWindow>

FirstExposure::FirstExposure(QWindow* window, int limitMs, std::function<void()> then, QObject* parent)
    : QObject(parent), m_window(window), m_then(std::move(then))
{
    window->installEventFilter(this);
    QTimer::singleShot(limitMs, this, &FirstExposure::fire);
}

bool FirstExposure::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window && event->type() == QEvent::Expose && m_window->isExposed())
        QTimer::singleShot(0, this, &FirstExposure::fire);
    return false;
}

void FirstExposure::fire()
{
    if (!m_then)
        return;
    if (m_window)
        m_window->removeEventFilter(this);
    const std::function<void()> then = std::exchange(m_then, nullptr);
    deleteLater();
    then();
}
