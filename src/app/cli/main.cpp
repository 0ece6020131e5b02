// halvora-cli: one model turn from the terminal, with the program's account token.
#include "account/AccountManager.h"
#include "app/cli/CliOptions.h"
#include "app/cli/CliTurn.h"
#include "platform/linux/JsonFilePreferences.h"
#include "platform/linux/SecretServiceStore.h"
#include "settings/WritingModeStore.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int interruptPipe[2] = {-1, -1};

void onInterrupt(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(interruptPipe[1], &byte, 1);
}

// Turns SIGINT into a notification on the event loop, so the turn is cancelled there.
void watchInterrupts(const std::function<void()>& handler)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, interruptPipe) != 0)
        return;
    auto* notifier = new QSocketNotifier(interruptPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [notifier, handler] {
        notifier->setEnabled(false);
        handler();
    });
    struct sigaction action = {};
    action.sa_handler = onInterrupt;
    ::sigaction(SIGINT, &action, nullptr);
}

int usageError(QFile& err, const QString& problem)
{
    err.write(QStringLiteral("halvora-cli: %1\nTry halvora-cli --help.\n").arg(problem).toUtf8());
    return 64;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Halvora"));
    QCoreApplication::setApplicationVersion(QStringLiteral(HALVORA_VERSION));
    QFile out, err, in;
    out.open(stdout, QIODevice::WriteOnly);
    err.open(stderr, QIODevice::WriteOnly);
    const CliOptions options = CliOptions::parse(app.arguments());
    if (options.help || options.version) {
        out.write((options.help ? CliOptions::helpText() : "halvora-cli " HALVORA_VERSION "\n").toUtf8());
        return 0;
    }
    if (!options.error.isEmpty())
        return usageError(err, options.error);
    Preferences::setInstance(std::make_unique<JsonFilePreferences>(JsonFilePreferences::defaultPath()));
    QString problem;
    const auto action = options.action(WritingModeStore::shared().modes(), &problem);
    if (!action)
        return usageError(err, problem);
    in.open(stdin, QIODevice::ReadOnly);
    const QString selection = QString::fromUtf8(in.readAll());
    CliTurn turn(*action, options.json, out, err);
    watchInterrupts([&turn] { turn.cancel(); });
    int code = 0;
    turn.start(options.server.value_or(AccountManager::serverURL()),
               SecretServiceStore().lookup(AccountManager::tokenService()).secret, selection, options.question,
               [&code](int result) {
                   code = result;
                   QCoreApplication::quit();
               });
    app.exec();
    return code;
}
