#include "platform/MemoryPreferences.h"
#include "platform/PreferenceKeys.h"
#include "platform/fake/FakePlatform.h"
#include "selection/AccessibilityPermission.h"

#include <QSignalSpy>
#include <QTest>

class TestAccessibilityPermission : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_platform = std::make_unique<FakePlatform>();
        m_platform->grant->granted = false;
        m_preferences = std::make_unique<MemoryPreferences>();
        m_permission = std::make_unique<AccessibilityPermission>(m_platform->clock, *m_preferences);
        m_granted = 0;
        connect(m_permission.get(), &AccessibilityPermission::grantedChanged, this, [this](bool granted) {
            if (granted)
                ++m_granted;
        });
    }
    void cleanup()
    {
        m_permission.reset();
        m_platform.reset();
    }

    // Asking for the grant turns the desktop's accessibility on, so it happens only when the
    // user chose it: at a start after that choice, or when making it. Either way, waiting polls.
    void theDesktopIsSwitchedOnOnlyByChoice_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QVariant>("chosen");
        QTest::addColumn<bool>("granted");
        QTest::addColumn<int>("requests");
        QTest::addColumn<QVariant>("storedAfter");

        const QVariant none;
        QTest::newRow("start, never chosen") << none << none << false << 0 << none;
        QTest::newRow("start, chosen before") << QVariant(true) << none << false << 1 << QVariant(true);
        QTest::newRow("start, declined before") << QVariant(false) << none << false << 0 << QVariant(false);
        QTest::newRow("start, a stored text is no choice")
            << QVariant("true") << none << false << 0 << QVariant("true");
        QTest::newRow("chosen now") << none << QVariant(true) << false << 1 << QVariant(true);
        QTest::newRow("chosen now, already on") << none << QVariant(true) << true << 0 << QVariant(true);
        QTest::newRow("unchosen now") << QVariant(true) << QVariant(false) << false << 1 << QVariant(false);
    }
    void theDesktopIsSwitchedOnOnlyByChoice()
    {
        QFETCH(QVariant, stored);
        QFETCH(QVariant, chosen);
        QFETCH(bool, granted);
        QFETCH(int, requests);
        QFETCH(QVariant, storedAfter);
        m_platform->grant->granted = granted;
        if (stored.isValid())
            m_preferences->setValue(PreferenceKeys::switchAccessibilityOn, stored);
        AccessibilityPermission permission(m_platform->clock, *m_preferences);
        QSignalSpy changes(&permission, &AccessibilityPermission::switchesOnChanged);
        permission.requestIfNeeded();
        if (chosen.isValid()) {
            permission.setSwitchesOn(chosen.toBool());
            permission.setSwitchesOn(chosen.toBool());
            QCOMPARE(changes.size(), 1);
        }
        QCOMPARE(m_platform->grant->requests, requests);
        QCOMPARE(m_preferences->value(PreferenceKeys::switchAccessibilityOn), storedAfter);
        QCOMPARE(permission.isPolling(), !granted);
        // A new start reads the choice back.
        QCOMPARE(AccessibilityPermission(m_platform->clock, *m_preferences).switchesOn(),
                 storedAfter.typeId() == QMetaType::Bool && storedAfter.toBool());
    }

    void alreadyGrantedAsksNothing()
    {
        m_platform->grant->granted = true;
        AccessibilityPermission permission(m_platform->clock);
        int granted = 0;
        connect(&permission, &AccessibilityPermission::grantedChanged, this, [&] { ++granted; });
        permission.requestIfNeeded();
        QVERIFY(permission.isGranted());
        QCOMPARE(m_platform->grant->requests, 0);
        QVERIFY(!permission.isPolling());
        QCOMPARE(granted, 0);
    }

    // The grant arrives 3.5 s after the request; the checks run at 1, 2, 3 and 4 s.
    void grantArrivingWhileWaiting_data()
    {
        QTest::addColumn<bool>("viaSettings");
        QTest::addColumn<int>("asks");

        QTest::newRow("requested") << false << 1;
        QTest::newRow("requested twice") << false << 2;
        QTest::newRow("settings opened") << true << 1;
        QTest::newRow("settings opened twice") << true << 2;
    }
    void grantArrivingWhileWaiting()
    {
        QFETCH(bool, viaSettings);
        QFETCH(int, asks);
        m_preferences->setValue(PreferenceKeys::switchAccessibilityOn, true);
        m_permission = std::make_unique<AccessibilityPermission>(m_platform->clock, *m_preferences);
        connect(m_permission.get(), &AccessibilityPermission::grantedChanged, this, [this](bool granted) {
            if (granted)
                ++m_granted;
        });
        QSignalSpy changes(m_permission.get(), &AccessibilityPermission::grantedChanged);
        for (int i = 0; i < asks; ++i)
            viaSettings ? m_permission->openSystemSettings() : m_permission->requestIfNeeded();
        QCOMPARE(m_platform->grant->requests, viaSettings ? 0 : asks);
        QCOMPARE(m_platform->grant->settingsOpenings, viaSettings ? asks : 0);
        QCOMPARE(m_platform->clock.pendingCount(), 1);

        m_platform->clock.advance(3500);
        m_platform->grant->granted = true;
        m_platform->clock.advance(499);
        QVERIFY(!m_permission->isGranted());
        m_platform->clock.advance(1);
        QVERIFY(m_permission->isGranted());
        QCOMPARE(m_granted, 1);
        QCOMPARE(changes.size(), 1);
        QVERIFY(!m_permission->isPolling());
        m_platform->clock.advance(10000);
        QCOMPARE(m_granted, 1);
    }

    void settingsThatFailToOpenStillPoll()
    {
        m_platform->grant->settingsOpen = false;
        m_permission->openSystemSettings();
        QVERIFY(m_permission->isPolling());
    }

    void pollingGoesOnUntilTheGrant()
    {
        m_permission->requestIfNeeded();
        m_platform->clock.advance(60000);
        QVERIFY(m_permission->isPolling());
        QCOMPARE(m_granted, 0);
    }

    // Whichever check sees the grant first calls onGranted; the other sees nothing new.
    void refreshAndPollFindingTheGrantTogether()
    {
        m_permission->requestIfNeeded();
        m_platform->clock.advance(2000);
        m_platform->grant->granted = true;
        m_permission->refresh();
        QCOMPARE(m_granted, 1);
        m_platform->clock.advance(1000);
        QCOMPARE(m_granted, 1);
        QVERIFY(!m_permission->isPolling());
    }

    void revokedAndGrantedAgain()
    {
        m_platform->grant->granted = true;
        m_permission->refresh();
        QSignalSpy changes(m_permission.get(), &AccessibilityPermission::grantedChanged);
        m_platform->grant->granted = false;
        m_permission->refresh();
        m_permission->refresh();
        QVERIFY(!m_permission->isGranted());
        QCOMPARE(changes.size(), 1);
        QCOMPARE(m_granted, 1);
        m_platform->grant->granted = true;
        m_permission->refresh();
        QCOMPARE(m_granted, 2);
    }

    void destroyingThePermissionEndsThePoll()
    {
        m_permission->requestIfNeeded();
        m_permission.reset();
        m_platform->grant->granted = true;
        m_platform->clock.advance(5000);
        QCOMPARE(m_granted, 0);
    }

private:
    std::unique_ptr<FakePlatform> m_platform;
    std::unique_ptr<MemoryPreferences> m_preferences;
    std::unique_ptr<AccessibilityPermission> m_permission;
    int m_granted = 0;
};

QTEST_GUILESS_MAIN(TestAccessibilityPermission)
#include "tst_accessibilitypermission.moc"
