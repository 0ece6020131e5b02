#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

class QWindow;

// Runs a function once, when a window is first exposed on screen, or when a time limit passes
// without that. The function runs from the event loop after the exposure has been handled, so
// the window is drawn before it. Goes away once it has run; made on the heap.
class FirstExposure : public QObject {
public:
    FirstExposure(QWindow* window, int limitMs, std::function<void()> then, QObject* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fire();

    QPointer<QWindow> m_window;
    std::function<void()> m_then;
};
