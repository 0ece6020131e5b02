#pragma once

#include <QByteArray>
#include <QPoint>
#include <QProcess>
#include <QStringList>
#include <memory>
#include <optional>

// Drives the private desktop session from a test: the pointer and keyboard through xdotool, the
// clipboard through xclip, and other applications' windows. Every wait keeps the event loop
// turning (this program may own the clipboard and has to answer for it) and is bounded.
namespace DesktopDriver {

// Runs a program to its end; its standard output, or nothing when it failed or overran.
std::optional<QByteArray> run(const QString& program, const QStringList& arguments, const QByteArray& input = {},
                              int timeoutMs = 5000);
bool xdotool(const QStringList& arguments);

void click(QPoint at, int repeat = 1);
void drag(QPoint from, QPoint to);
// Key combinations in xdotool's spelling ("shift+Right", "ctrl+a").
void keys(const QStringList& combinations);

QByteArray clipboard(const QString& target = QStringLiteral("UTF8_STRING"));
bool setClipboard(const QString& text);

// Starts an application; null when it did not start.
std::unique_ptr<QProcess> launch(const QString& program, const QStringList& arguments);
bool waitForLine(QProcess& process, const QByteArray& line, int timeoutMs = 10000);
void stop(std::unique_ptr<QProcess>& process);

// The client window of a process, waiting for it to appear; 0 when none does.
unsigned long windowOf(qint32 pid, int timeoutMs = 10000);
// Activates a window and waits until it is the active one.
bool activate(unsigned long window);

} // namespace DesktopDriver
