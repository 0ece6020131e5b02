#pragma once

#include <QPoint>
#include <QtGlobal>
#include <optional>

// Counts the presses of a multiple click: a press soon enough after the previous one (within
// the desktop's double-click interval) and close enough to it (within the double-click
// distance on either axis) continues the series, any other press starts a new one.
class ClickCounter {
public:
    ClickCounter(int intervalMs, int distance) : m_intervalMs(intervalMs), m_distance(distance) {}

    // A press at this X server time (milliseconds, wrapping at 32 bits) and root position;
    // returns its click count.
    int press(quint32 timeMs, QPoint position);
    // Forgets the series, so the next press counts as a single click.
    void reset() { m_last.reset(); }

private:
    struct Press {
        quint32 timeMs;
        QPoint position;
        int count;
    };
    int m_intervalMs;
    int m_distance;
    std::optional<Press> m_last;
};
