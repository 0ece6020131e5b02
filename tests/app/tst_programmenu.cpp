#include "app/ProgramMenu.h"
#include "platform/MemoryPreferences.h"
#include "platform/fake/FakeAppearanceApplier.h"
#include "platform/fake/FakeAutostart.h"
#include "platform/fake/FakePlatform.h"
#include "selection/AccessibilityPermission.h"
#include "settings/AppSettings.h"

#include <QAction>
#include <QMenu>
#include <QTest>

class TestProgramMenu : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void itemsFollowTheStateEachTimeTheMenuOpens_data()
    {
        QTest::addColumn<bool>("trusted");
        QTest::addColumn<bool>("signedIn");
        QTest::newRow("granted, signed in") << true << true;
        QTest::newRow("not granted, signed out") << false << false;
    }

    void itemsFollowTheStateEachTimeTheMenuOpens()
    {
        QFETCH(bool, trusted);
        QFETCH(bool, signedIn);
        FakePlatform platform;
        MemoryPreferences defaults;
        FakeAutostart login;
        FakeAppearanceApplier applier;
        AppSettings settings(defaults, login, applier);
        AccessibilityPermission permission(platform.clock);
        bool token = !signedIn;
        QList<bool> opened;
        QMenu menu;
        ProgramMenu program(
            settings, permission, [&token] { return token; }, &menu);
        connect(&program, &ProgramMenu::mainWindowRequested, &program,
                [&opened](bool newChat) { opened.append(newChat); });
        platform.grant->granted = trusted;
        token = signedIn;
        settings.setAutoPopup(false);
        Q_EMIT menu.aboutToShow();
        QCOMPARE(program.action(QStringLiteral("Accessibility: granted"))->isVisible(), trusted);
        QCOMPARE(program.action(QStringLiteral("Grant Accessibility Access…"))->isVisible(), !trusted);
        QCOMPARE(program.action(QStringLiteral("Sign In"))->isVisible(), !signedIn);
        QVERIFY(!program.action(QStringLiteral("Show Actions on Selection"))->isChecked());
        program.action(QStringLiteral("Show Actions on Selection"))->trigger();
        QVERIFY(settings.autoPopup());
        program.action(QStringLiteral("Open Halvora"))->trigger();
        program.action(QStringLiteral("New Chat"))->trigger();
        QCOMPARE(opened, QList<bool>({false, true}));
    }
};

QTEST_MAIN(TestProgramMenu)
#include "tst_programmenu.moc"
