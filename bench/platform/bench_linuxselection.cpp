// Prints the selection road's figures on a real GTK application (zenity) in the running X11
// session: how long one selection read takes once the gesture has settled, how soon a read
// of a stopped application gives up, and what the gesture monitor costs while nothing happens.
// Run it inside scripts/with-session.
#include "platform/Platform.h"
#include "platform/linux/LinuxPlatform.h"
#include "selection/SelectionMonitor.h"
#include "selection/SelectionReader.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryFile>
#include <QTimer>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <sys/resource.h>

namespace {

// Keeps the event loop turning until done() or the time is up.
bool waitFor(const std::function<bool()>& done, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

void idle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

double percentile(QList<double> values, double p)
{
    std::sort(values.begin(), values.end());
    return values.at(std::min<qsizetype>(values.size() - 1, qsizetype(p * double(values.size()))));
}

double timedRead(bool* found)
{
    QElapsedTimer timer;
    timer.start();
    *found = SelectionReader::read().has_value();
    return double(timer.nsecsElapsed()) / 1e6;
}

void readFigures(qint64 pid)
{
    QList<double> times;
    bool found = false;
    for (int i = 0; i < 200; ++i) {
        times.append(timedRead(&found));
        if (!found) {
            std::printf("selection read: no selection found\n");
            return;
        }
    }
    std::printf("selection read, GTK text view (200 reads): median %.2f ms, p95 %.2f ms, max %.2f ms\n",
                percentile(times, 0.5), percentile(times, 0.95), percentile(times, 1.0));
    QList<double> stopped;
    ::kill(pid_t(pid), SIGSTOP);
    for (int i = 0; i < 5; ++i)
        stopped.append(timedRead(&found));
    ::kill(pid_t(pid), SIGCONT);
    std::printf("read of a stopped application (5 reads): median %.0f ms, max %.0f ms\n", percentile(stopped, 0.5),
                percentile(stopped, 1.0));
}

struct Usage {
    double cpuMs;
    long wakeups;
};

Usage usage()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    const double cpu = (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
    return {cpu, u.ru_nvcsw + u.ru_nivcsw};
}

void idleFigures()
{
    const int seconds = 5;
    SelectionMonitor monitor;
    monitor.start();
    idle(200);
    const Usage before = usage();
    idle(seconds * 1000);
    const Usage after = usage();
    std::printf("gesture monitor idle for %d s: %.1f ms CPU, %ld context switches (one timer ends the wait)\n", seconds,
                after.cpuMs - before.cpuMs, after.wakeups - before.wakeups);
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::printf("no X11 display: run inside scripts/with-session\n");
        return 0;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    LinuxPlatform::install();

    QTemporaryFile file;
    file.open();
    file.write("one two three\nfour five six\nseven eight nine\n");
    file.flush();
    QProcess zenity;
    zenity.start(QStringLiteral("zenity"),
                 {QStringLiteral("--text-info"), QStringLiteral("--editable"), QStringLiteral("--width=520"),
                  QStringLiteral("--height=320"), QStringLiteral("--filename=") + file.fileName()});
    const qint32 pid = qint32(zenity.processId());
    const bool front = waitFor(
        [&] {
            const auto app = Platform::workspace().activeApplication();
            return app && app->pid == pid;
        },
        10000);
    if (front) {
        // A double click on the first word of the text view, which sits near the window's top-left.
        QProcess::execute(QStringLiteral("xdotool"),
                          {QStringLiteral("getactivewindow"), QStringLiteral("mousemove"), QStringLiteral("--window"),
                           QStringLiteral("%1"), QStringLiteral("20"), QStringLiteral("20"), QStringLiteral("click"),
                           QStringLiteral("--repeat"), QStringLiteral("2"), QStringLiteral("1")});
        if (waitFor([] { return SelectionReader::read().has_value(); }, 5000))
            readFigures(pid);
        else
            std::printf("selection read: the double click selected nothing\n");
    } else {
        std::printf("zenity did not come to the front\n");
    }
    zenity.terminate();
    zenity.waitForFinished(2000);
    idleFigures();
    return 0;
}
