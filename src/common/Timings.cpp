#include "common/Timings.h"

#include <QFile>
#include <QPointer>
#include <QWindow>
#include <cstdio>
#include <ctime>
#include <unistd.h>

namespace Timings {

namespace {

// The field of /proc/PID/stat that holds the start time, counted from 1 with the process
// name in parentheses as the second.
constexpr int startTimeField = 22;

std::optional<qint64> gestureEndMs;

// Watches one window for its first exposure after a show, then reports and goes away.
class ExposeWatch : public QObject {
public:
    ExposeWatch(QWindow* window, QString what, QString since, qint64 fromMs)
        : QObject(window), m_what(std::move(what)), m_since(std::move(since)), m_fromMs(fromMs)
    {
        setObjectName(QStringLiteral("halvora-timing"));
        window->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* window = qobject_cast<QWindow*>(watched);
        if (event->type() == QEvent::Expose && window && window->isExposed()) {
            print(m_what, nowMs() - m_fromMs, m_since);
            window->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }

    static void print(const QString& what, qint64 ms, const QString& since)
    {
        std::fprintf(stderr, "timing: %s %lld ms after %s\n", qPrintable(what), static_cast<long long>(ms),
                     qPrintable(since));
        std::fflush(stderr);
    }

private:
    QString m_what;
    QString m_since;
    qint64 m_fromMs;
};

// The moment a milestone counts from, with its wording; nothing when it is unknown.
std::optional<std::pair<qint64, QString>> origin(Since since)
{
    if (since == Since::ProcessStart) {
        const std::optional<qint64> start = processStartMs();
        return start ? std::optional(std::pair(*start, QStringLiteral("process start"))) : std::nullopt;
    }
    const std::optional<qint64> gesture = std::exchange(gestureEndMs, std::nullopt);
    return gesture ? std::optional(std::pair(*gesture, QStringLiteral("the gesture ended"))) : std::nullopt;
}

} // namespace

bool enabled()
{
    static const bool on = qEnvironmentVariable("HALVORA_TIMINGS") == QLatin1String("1");
    return on;
}

qint64 nowMs()
{
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return qint64(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

std::optional<qint64> startTicksFromStat(const QByteArray& stat)
{
    // The name may itself hold spaces and parentheses; the fields after it never do.
    const qsizetype nameEnd = stat.lastIndexOf(')');
    if (nameEnd < 0)
        return std::nullopt;
    const QList<QByteArray> rest = stat.mid(nameEnd + 1).simplified().split(' ');
    const qsizetype index = startTimeField - 3;
    if (rest.size() <= index)
        return std::nullopt;
    bool ok = false;
    const qint64 ticks = rest.at(index).toLongLong(&ok);
    return ok && ticks >= 0 ? std::optional(ticks) : std::nullopt;
}

std::optional<qint64> processStartMs()
{
    QFile file(QStringLiteral("/proc/self/stat"));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const std::optional<qint64> ticks = startTicksFromStat(file.readAll());
    const long perSecond = sysconf(_SC_CLK_TCK);
    if (!ticks || perSecond <= 0)
        return std::nullopt;
    return *ticks * 1000 / perSecond;
}

void markGestureEnd()
{
    if (enabled())
        gestureEndMs = nowMs();
}

void reportWhenExposed(QWindow* window, const QString& what, Since since)
{
    if (!enabled() || !window)
        return;
    const auto from = origin(since);
    if (!from)
        return;
    // A watch left from a show that was never exposed would report the wrong moment.
    for (QObject* old : window->findChildren<QObject*>(QStringLiteral("halvora-timing"), Qt::FindDirectChildrenOnly))
        delete old;
    new ExposeWatch(window, what, from->second, from->first);
}

void report(const QString& what, Since since)
{
    if (!enabled())
        return;
    if (const auto from = origin(since))
        ExposeWatch::print(what, nowMs() - from->first, from->second);
}

} // namespace Timings
