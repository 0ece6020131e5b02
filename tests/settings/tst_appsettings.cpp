#include "platform/MemoryUserDefaults.h"
#include "platform/fake/FakeAppearanceApplier.h"
#include "platform/fake/FakeLoginItem.h"
#include "settings/AppSettings.h"
#include "settings/DefaultsKeys.h"

#include <QSignalSpy>
#include <QTest>

using Appearance = AppSettings::Appearance;
using Scheme = AppearanceApplier::Scheme;

namespace {

struct LogLine {
    QtMsgType type;
    QString category;
    QString message;
};
QList<LogLine> loggedLines;

void recordLine(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    loggedLines.append({type, QString::fromUtf8(context.category), message});
}

} // namespace

class TestAppSettings : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void readsStoredValues_data()
    {
        QTest::addColumn<QVariantMap>("stored");
        QTest::addColumn<Appearance>("appearance");
        QTest::addColumn<bool>("autoPopup");
        const QString a = DefaultsKeys::appearance;
        const QString p = DefaultsKeys::autoPopup;
        QTest::newRow("nothing stored") << QVariantMap() << Appearance::System << true;
        QTest::newRow("light") << QVariantMap{{a, "light"}} << Appearance::Light << true;
        QTest::newRow("dark") << QVariantMap{{a, "dark"}} << Appearance::Dark << true;
        QTest::newRow("Dark") << QVariantMap{{a, "Dark"}} << Appearance::System << true;
        QTest::newRow("other word") << QVariantMap{{a, "sepia"}} << Appearance::System << true;
        QTest::newRow("dark as bytes") << QVariantMap{{a, QByteArray("dark")}} << Appearance::System << true;
        QTest::newRow("autoPopup off") << QVariantMap{{p, false}} << Appearance::System << false;
        QTest::newRow("autoPopup string") << QVariantMap{{p, "false"}} << Appearance::System << true;
        QTest::newRow("autoPopup number") << QVariantMap{{p, 0}} << Appearance::System << true;
    }

    void readsStoredValues()
    {
        QFETCH(QVariantMap, stored);
        QFETCH(Appearance, appearance);
        QFETCH(bool, autoPopup);
        MemoryUserDefaults defaults(stored);
        FakeLoginItem login;
        FakeAppearanceApplier applier;
        AppSettings settings(defaults, login, applier);
        QCOMPARE(settings.appearance(), appearance);
        QCOMPARE(settings.autoPopup(), autoPopup);
        QVERIFY2(applier.applied().isEmpty(), "creation does not apply the appearance");
    }

    void creationRemovesTheOldModelKey()
    {
        MemoryUserDefaults defaults({{DefaultsKeys::model, "claude-old"}, {DefaultsKeys::saveHistory, false}});
        FakeLoginItem login;
        FakeAppearanceApplier applier;
        AppSettings settings(defaults, login, applier);
        QVERIFY(!defaults.contains(DefaultsKeys::model));
        QCOMPARE(defaults.value(DefaultsKeys::saveHistory), QVariant(false));
    }

    void settingAppearanceStoresAndAppliesIt()
    {
        MemoryUserDefaults defaults;
        FakeLoginItem login;
        FakeAppearanceApplier applier;
        AppSettings settings(defaults, login, applier);
        QSignalSpy changed(&settings, &AppSettings::appearanceChanged);
        settings.setAppearance(Appearance::Dark);
        settings.setAppearance(Appearance::Dark);
        QCOMPARE(defaults.value(DefaultsKeys::appearance), QVariant(QStringLiteral("dark")));
        settings.setAppearance(Appearance::System);
        QCOMPARE(defaults.value(DefaultsKeys::appearance), QVariant(QStringLiteral("system")));
        QCOMPARE(applier.applied(), (QList<Scheme>{Scheme::Dark, Scheme::Dark, Scheme::FollowSystem}));
        QCOMPARE(changed.count(), 2);
        QCOMPARE(AppSettings(defaults, login, applier).appearance(), Appearance::System);
    }

    void settingAutoPopupStoresABool()
    {
        MemoryUserDefaults defaults({{DefaultsKeys::autoPopup, "no"}});
        FakeLoginItem login;
        FakeAppearanceApplier applier;
        AppSettings settings(defaults, login, applier);
        QSignalSpy changed(&settings, &AppSettings::autoPopupChanged);
        settings.setAutoPopup(true);
        QCOMPARE(changed.count(), 0);
        QCOMPARE(defaults.value(DefaultsKeys::autoPopup), QVariant(true));
        settings.setAutoPopup(false);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(AppSettings(defaults, login, applier).autoPopup(), false);
    }

    void launchAtLoginGoesThroughTheLoginItem_data()
    {
        QTest::addColumn<bool>("enabledBefore");
        QTest::addColumn<bool>("wanted");
        QTest::addColumn<QString>("refusal");
        QTest::addColumn<bool>("enabledAfter");
        QTest::newRow("turn on") << false << true << QString() << true;
        QTest::newRow("turn off") << true << false << QString() << false;
        QTest::newRow("turn on refused") << false << true << QStringLiteral("read-only folder") << false;
        QTest::newRow("turn off refused") << true << false << QStringLiteral("permission denied") << true;
    }

    void launchAtLoginGoesThroughTheLoginItem()
    {
        QFETCH(bool, enabledBefore);
        QFETCH(bool, wanted);
        QFETCH(QString, refusal);
        QFETCH(bool, enabledAfter);
        MemoryUserDefaults defaults;
        FakeLoginItem login;
        login.setEnabled(enabledBefore);
        login.setRefusal(refusal);
        FakeAppearanceApplier applier;
        AppSettings settings(defaults, login, applier);
        QSignalSpy revised(&settings, &AppSettings::launchAtLoginRevisionChanged);

        loggedLines.clear();
        const QtMessageHandler previous = qInstallMessageHandler(recordLine);
        settings.setLaunchAtLogin(wanted);
        qInstallMessageHandler(previous);

        QCOMPARE(settings.launchAtLogin(), enabledAfter);
        QCOMPARE(settings.launchAtLoginRevision(), 1);
        QCOMPARE(revised.count(), 1);
        QCOMPARE(login.registerCalls() + login.unregisterCalls(), 1);
        QVERIFY2(defaults.values().isEmpty(), "launch at login is not a preference");
        if (refusal.isEmpty()) {
            QCOMPARE(loggedLines.size(), 0);
            return;
        }
        QCOMPARE(loggedLines.size(), 1);
        QCOMPARE(loggedLines.first().category, QStringLiteral("halvora"));
        QCOMPARE(loggedLines.first().message, QStringLiteral("Launch at login change failed: ") + refusal);
    }

    void sharedInstanceUsesTheInstalledServices()
    {
        UserDefaults::setStandard(std::make_unique<MemoryUserDefaults>(QVariantMap{{DefaultsKeys::model, 1}}));
        auto applier = std::make_unique<FakeAppearanceApplier>();
        FakeAppearanceApplier* recorder = applier.get();
        AppearanceApplier::setStandard(std::move(applier));
        AppSettings& shared = AppSettings::shared();
        QCOMPARE(&AppSettings::shared(), &shared);
        QVERIFY(!UserDefaults::standard().contains(DefaultsKeys::model));
        shared.setAppearance(Appearance::Light);
        QCOMPARE(recorder->applied(), QList<Scheme>{Scheme::Light});
        QCOMPARE(UserDefaults::standard().value(DefaultsKeys::appearance), QVariant(QStringLiteral("light")));
    }
};

QTEST_GUILESS_MAIN(TestAppSettings)
#include "tst_appsettings.moc"
