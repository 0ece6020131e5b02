#include "DesktopDriver.h"

#include "platform/linux/X11Connection.h"

#include <QTest>
#include <csignal>
#include <unistd.h>

namespace DesktopDriver {

std::optional<QByteArray> run(const QString& program, const QStringList& arguments, const QByteArray& input,
                              int timeoutMs)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted(timeoutMs))
        return std::nullopt;
    if (!input.isNull())
        process.write(input);
    process.closeWriteChannel();
    QByteArray output;
    const bool ended = QTest::qWaitFor(
        [&] {
            output += process.readAllStandardOutput();
            return process.state() == QProcess::NotRunning;
        },
        timeoutMs);
    if (!ended) {
        process.kill();
        process.waitForFinished(1000);
        return std::nullopt;
    }
    output += process.readAllStandardOutput();
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return std::nullopt;
    return output;
}

bool xdotool(const QStringList& arguments)
{
    return run(QStringLiteral("xdotool"), arguments).has_value();
}

void click(QPoint at, int repeat)
{
    xdotool({QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y()), QStringLiteral("click"),
             QStringLiteral("--repeat"), QString::number(repeat), QStringLiteral("--delay"), QStringLiteral("120"),
             QStringLiteral("1")});
}

// Toolkits start a drag only after the pointer has moved a little with the button down.
void drag(QPoint from, QPoint to)
{
    const QPoint mid = (from + to) / 2;
    auto point = [](QPoint p) { return QStringList{QString::number(p.x()), QString::number(p.y())}; };
    xdotool(QStringList{QStringLiteral("mousemove")} + point(from) + QStringList{QStringLiteral("mousedown"), "1"} +
            QStringList{QStringLiteral("mousemove")} + point(from + QPoint(3, 0)) +
            QStringList{QStringLiteral("mousemove")} + point(mid) + QStringList{QStringLiteral("mousemove")} +
            point(to) + QStringList{QStringLiteral("mouseup"), "1"});
}

void keys(const QStringList& combinations)
{
    xdotool(QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("30")} + combinations);
}

QByteArray clipboard(const QString& target)
{
    return run(QStringLiteral("xclip"), {QStringLiteral("-o"), QStringLiteral("-selection"),
                                         QStringLiteral("clipboard"), QStringLiteral("-t"), target})
        .value_or(QByteArray());
}

bool setClipboard(const QString& text)
{
    QProcess process;
    // xclip stays behind to serve the text; it must not hold our pipes.
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(QStringLiteral("xclip"),
                  {QStringLiteral("-i"), QStringLiteral("-selection"), QStringLiteral("clipboard")});
    process.write(text.toUtf8());
    process.closeWriteChannel();
    return QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, 5000) && process.exitCode() == 0;
}

std::unique_ptr<QProcess> launch(const QString& program, const QStringList& arguments)
{
    auto process = std::make_unique<QProcess>();
    process->setProcessChannelMode(QProcess::SeparateChannels);
    process->setStandardErrorFile(QProcess::nullDevice());
    process->start(program, arguments);
    if (!process->waitForStarted(5000))
        return nullptr;
    return process;
}

bool waitForLine(QProcess& process, const QByteArray& line, int timeoutMs)
{
    QByteArray seen;
    return QTest::qWaitFor(
        [&] {
            seen += process.readAllStandardOutput();
            return seen.split('\n').contains(line);
        },
        timeoutMs);
}

// A process that leads a group of its own (a browser with its content processes) is stopped with
// the whole group, so nothing of it keeps the machine busy after the test.
void stop(std::unique_ptr<QProcess>& process)
{
    if (!process)
        return;
    const auto pid = pid_t(process->processId());
    const bool leadsGroup = pid > 0 && ::getpgid(pid) == pid;
    if (leadsGroup)
        ::kill(-pid, SIGTERM);
    else
        process->terminate();
    if (!process->waitForFinished(2000))
        process->kill();
    process->waitForFinished(1000);
    if (leadsGroup)
        ::kill(-pid, SIGKILL);
    process.reset();
}

unsigned long windowOf(qint32 pid, int timeoutMs)
{
    auto x11 = X11Connection::open();
    if (!x11)
        return 0;
    unsigned long found = 0;
    (void)QTest::qWaitFor(
        [&] {
            for (unsigned long window : x11->cardinals(x11->root(), "_NET_CLIENT_LIST")) {
                if (x11->windowPid(window) == pid)
                    found = window;
            }
            return found != 0;
        },
        timeoutMs);
    return found;
}

bool activate(unsigned long window)
{
    if (!xdotool({QStringLiteral("windowactivate"), QString::number(window)}))
        return false;
    auto x11 = X11Connection::open();
    return x11 && QTest::qWaitFor([&] { return x11->activeWindow() == window; }, 5000);
}

} // namespace DesktopDriver
