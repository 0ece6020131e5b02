#include "platform/linux/LinuxPlatform.h"

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Halvora"));
    QApplication::setApplicationVersion(QStringLiteral(HALVORA_VERSION));
    QApplication::setQuitOnLastWindowClosed(false);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Actions for the text you select in any application."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.process(app);

    LinuxPlatform::install();
    return 0;
}
