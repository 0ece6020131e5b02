#include "platform/Autostart.h"
#include "platform/PreferenceKeys.h"
#include "platform/linux/JsonFilePreferences.h"
#include "platform/linux/LinuxPlatform.h"
#include "settings/AppSettings.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The installed services work together in a fresh configuration folder, as at first start.
class TestLinuxPlatform : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void installedServicesUseTheConfigFolder()
    {
        QTemporaryDir config;
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
        LinuxPlatform::install();
        AppSettings settings(Preferences::instance(), Autostart::instance(), AppearanceApplier::instance());

        settings.setAutoPopup(false);
        settings.setLaunchAtLogin(true);
        QVERIFY(settings.launchAtLogin());
        QFile entry(config.filePath(QStringLiteral("autostart/halvora.desktop")));
        QVERIFY(entry.open(QIODevice::ReadOnly));
        QVERIFY(entry.readAll().contains("\nExec=" + QFile::encodeName(QCoreApplication::applicationFilePath())));

        const JsonFilePreferences reread(config.filePath(QStringLiteral("Halvora/Preferences.json")));
        QCOMPARE(reread.value(PreferenceKeys::autoPopup), QVariant(false));
        settings.setLaunchAtLogin(false);
        QVERIFY(!entry.exists());
    }
};

QTEST_GUILESS_MAIN(TestLinuxPlatform)
#include "tst_linuxplatform.moc"
