#include "platform/DefaultsKeys.h"
#include "platform/LoginItem.h"
#include "platform/linux/FileUserDefaults.h"
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
        AppSettings settings(UserDefaults::standard(), LoginItem::standard(), AppearanceApplier::standard());

        settings.setAutoPopup(false);
        settings.setLaunchAtLogin(true);
        QVERIFY(settings.launchAtLogin());
        QFile entry(config.filePath(QStringLiteral("autostart/halvora.desktop")));
        QVERIFY(entry.open(QIODevice::ReadOnly));
        QVERIFY(entry.readAll().contains("\nExec=" + QFile::encodeName(QCoreApplication::applicationFilePath())));

        const FileUserDefaults reread(config.filePath(QStringLiteral("Halvora/Preferences.json")));
        QCOMPARE(reread.value(DefaultsKeys::autoPopup), QVariant(false));
        settings.setLaunchAtLogin(false);
        QVERIFY(!entry.exists());
    }
};

QTEST_GUILESS_MAIN(TestLinuxPlatform)
#include "tst_linuxplatform.moc"
