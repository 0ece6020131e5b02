#include "platform/MemoryPreferences.h"
#include "platform/PreferenceKeys.h"
#include "platform/fake/FakeAppearanceApplier.h"
#include "platform/fake/FakeAutostart.h"
#include "settings/AppSettings.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

using Appearance = AppSettings::Appearance;
using Scheme = AppearanceApplier::Scheme;

class TestAppSettings : public QObject {
    Q_OBJECT

    MemoryPreferences m_preferences;
    FakeAutostart m_login;
    FakeAppearanceApplier m_applier;

private Q_SLOTS:
    void init()
    {
        m_preferences = MemoryPreferences();
        m_login = FakeAutostart();
        m_applier.clear();
    }

    void readsStoredValues_data()
    {
        QTest::addColumn<QVariant>("appearance");
        QTest::addColumn<QVariant>("autoPopup");
        QTest::addColumn<Appearance>("expectedAppearance");
        QTest::addColumn<bool>("expectedAutoPopup");
        QTest::newRow("nothing stored") << QVariant() << QVariant() << Appearance::System << true;
        QTest::newRow("light, off") << QVariant("light") << QVariant(false) << Appearance::Light << false;
        QTest::newRow("Dark") << QVariant("Dark") << QVariant() << Appearance::System << true;
        QTest::newRow("other word") << QVariant("sepia") << QVariant() << Appearance::System << true;
        QTest::newRow("dark as bytes") << QVariant(QByteArray("dark")) << QVariant() << Appearance::System << true;
        QTest::newRow("autoPopup string") << QVariant() << QVariant("false") << Appearance::System << true;
    }

    void readsStoredValues()
    {
        QFETCH(QVariant, appearance);
        QFETCH(QVariant, autoPopup);
        m_preferences.setValue(PreferenceKeys::appearance, appearance);
        m_preferences.setValue(PreferenceKeys::autoPopup, autoPopup);
        m_preferences.setValue(PreferenceKeys::model, QStringLiteral("claude-old"));
        AppSettings settings(m_preferences, m_login, m_applier);
        QTEST(settings.appearance(), "expectedAppearance");
        QTEST(settings.autoPopup(), "expectedAutoPopup");
        QVERIFY(!m_preferences.contains(PreferenceKeys::model));
        QVERIFY2(m_applier.applied().isEmpty(), "creation does not apply the appearance");
    }

    void settersStoreAndApply()
    {
        m_preferences.setValue(PreferenceKeys::autoPopup, QStringLiteral("no"));
        AppSettings settings(m_preferences, m_login, m_applier);
        QSignalSpy appearanceChanged(&settings, &AppSettings::appearanceChanged);
        QSignalSpy autoPopupChanged(&settings, &AppSettings::autoPopupChanged);
        settings.setAppearance(Appearance::Dark);
        settings.setAppearance(Appearance::Dark);
        QCOMPARE(m_preferences.value(PreferenceKeys::appearance), QVariant(QStringLiteral("dark")));
        settings.setAppearance(Appearance::System);
        QCOMPARE(m_preferences.value(PreferenceKeys::appearance), QVariant(QStringLiteral("system")));
        QCOMPARE(m_applier.applied(), (QList<Scheme>{Scheme::Dark, Scheme::Dark, Scheme::FollowSystem}));
        QCOMPARE(appearanceChanged.count(), 2);

        settings.setAutoPopup(true);
        QCOMPARE(m_preferences.value(PreferenceKeys::autoPopup), QVariant(true));
        settings.setAutoPopup(false);
        QCOMPARE(autoPopupChanged.count(), 1);
        QCOMPARE(AppSettings(m_preferences, m_login, m_applier).autoPopup(), false);
    }

    void launchAtLoginGoesThroughTheAutostart_data()
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

    void launchAtLoginGoesThroughTheAutostart()
    {
        QFETCH(bool, enabledBefore);
        QFETCH(bool, wanted);
        QFETCH(QString, refusal);
        m_login.setEnabled(enabledBefore);
        m_login.setRefusal(refusal);
        AppSettings settings(m_preferences, m_login, m_applier);
        QSignalSpy revised(&settings, &AppSettings::launchAtLoginRevisionChanged);
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
        if (!refusal.isEmpty())
            QTest::ignoreMessage(QtWarningMsg, qPrintable(QStringLiteral("Launch at login change failed: ") + refusal));
        settings.setLaunchAtLogin(wanted);
        QTEST(settings.launchAtLogin(), "enabledAfter");
        QCOMPARE(settings.launchAtLoginRevision(), 1);
        QCOMPARE(revised.count(), 1);
        QVERIFY2(m_preferences.values().isEmpty(), "launch at login is not a preference");
    }

    void sharedInstanceUsesTheInstalledApplier()
    {
        auto applier = std::make_unique<FakeAppearanceApplier>();
        FakeAppearanceApplier* recorder = applier.get();
        AppearanceApplier::setInstance(std::move(applier));
        AppSettings::shared().setAppearance(Appearance::Light);
        QCOMPARE(recorder->applied(), QList<Scheme>{Scheme::Light});
        QCOMPARE(Preferences::instance().value(PreferenceKeys::appearance), QVariant(QStringLiteral("light")));
    }
};

QTEST_GUILESS_MAIN(TestAppSettings)
#include "tst_appsettings.moc"
