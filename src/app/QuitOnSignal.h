#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM and SIGINT into an ordinary quit of the application, so that everything that
// runs when the program is about to quit (the history's last save) still runs. The signal
// handler only writes a byte to a pipe; the quit happens on the main thread.
class QuitOnSignal : public QObject {
    Q_OBJECT
public:
    explicit QuitOnSignal(QObject* parent = nullptr);
    ~QuitOnSignal() override;

private:
    static void handler(int signal);
    static inline int s_pipe[2] = {-1, -1};
    QSocketNotifier* m_notifier = nullptr;
};
