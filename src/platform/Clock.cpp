#include "platform/Clock.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>

namespace {

class SystemClock final : public Clock {
public:
    SystemClock() { m_elapsed.start(); }

    QDateTime now() const override { return QDateTime::currentDateTimeUtc(); }
    qint64 monotonicMs() const override { return m_elapsed.elapsed(); }

    TaskHandle after(int delayMs, std::function<void()> work) override
    {
        std::shared_ptr<CancelToken> token;
        TaskHandle handle = TaskHandle::create(&token);
        QPointer<QTimer> timer = new QTimer;
        timer->setSingleShot(true);
        timer->setTimerType(Qt::PreciseTimer);
        std::weak_ptr<CancelToken> weak = token;
        QObject::connect(timer, &QTimer::timeout, timer, [weak, work = std::move(work), timer] {
            timer->deleteLater();
            auto token = weak.lock();
            if (!token || token->isCancelled() || token->isFinished())
                return;
            token->finish();
            work();
        });
        token->onCancel([timer] {
            if (timer) {
                timer->stop();
                timer->deleteLater();
            }
        });
        timer->start(std::max(0, delayMs));
        return handle;
    }

private:
    QElapsedTimer m_elapsed;
};

} // namespace

Clock& Clock::system()
{
    static SystemClock clock;
    return clock;
}
