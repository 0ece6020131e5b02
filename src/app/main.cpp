#include "platform/linux/LinuxPlatform.h"
#include "settings/AppSettings.h"
#include "ui/PaletteAppearanceApplier.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QScopeGuard>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Halvora"));
    QApplication::setApplicationVersion(QStringLiteral(HALVORA_VERSION));
    QApplication::setQuitOnLastWindowClosed(false);
    // The applier's D-Bus watch must go while the application still exists.
    const auto dropApplier = qScopeGuard([] { AppearanceApplier::setStandard(nullptr); });

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Actions for the text you select in any application."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.process(app);

    LinuxPlatform::install();
    // Our palettes are drawn as given by the Fusion style, whatever the desktop's style is.
    QApplication::setStyle(QStringLiteral("Fusion"));
    AppearanceApplier::setStandard(std::make_unique<PaletteAppearanceApplier>());
    AppSettings::shared().applyAppearance();
    return 0;
}
