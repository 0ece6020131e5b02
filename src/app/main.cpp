#include "app/LaunchCommand.h"
#include "app/Program.h"
#include "app/QuitOnSignal.h"
#include "app/SingleInstance.h"
#include "platform/AppearanceApplier.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QScopeGuard>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Halvora"));
    QApplication::setApplicationVersion(QStringLiteral(HALVORA_VERSION));
    QApplication::setQuitOnLastWindowClosed(false);
    // The applier the program installs: its D-Bus watch must go while the application still exists.
    const auto dropApplier = qScopeGuard([] { AppearanceApplier::setInstance(nullptr); });

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QCoreApplication::translate("main", "Actions for the text you select in any application."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption({QStringLiteral("show-actions"),
                      QCoreApplication::translate("main", "Show the actions for the current selection.")});
    parser.addPositionalArgument(QStringLiteral("url"),
                                 QCoreApplication::translate("main", "A halvora: address to open."),
                                 QStringLiteral("[url]"));
    parser.process(app);
    const QStringList arguments = app.arguments().mid(1);

    // A second start hands its request to the running program and ends.
    SingleInstance instance;
    if (instance.forward(arguments))
        return 0;
    instance.listen();

    // Our palettes are drawn as given by the Fusion style, whatever the desktop's style is.
    QApplication::setStyle(QStringLiteral("Fusion"));

    QuitOnSignal quitOnSignal;
    Program program;
    QObject::connect(&instance, &SingleInstance::received, &program,
                     [&program](const QStringList& received) { program.run(LaunchCommand::fromArguments(received)); });
    program.start();
    const LaunchCommand first = LaunchCommand::fromArguments(arguments);
    if (first.kind != LaunchCommand::Kind::Reopen)
        program.run(first);
    return app.exec();
}
