#include "ui/ColorSchemePortal.h"
#include "ui/MarkdownBlockView.h"
#include "ui/PaletteAppearanceApplier.h"
#include "ui/Theme.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QTest>

// A stand-in for the desktop's settings portal on the test session bus, on its own connection.
class SettingsPortal : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Settings")

public:
    uint scheme = 0;

public Q_SLOTS:
    QDBusVariant Read(const QString& group, const QString& key)
    {
        if (group == "org.freedesktop.appearance" && key == "color-scheme")
            return QDBusVariant(QVariant::fromValue(QDBusVariant(scheme)));
        return QDBusVariant(QString());
    }

Q_SIGNALS:
    void SettingChanged(const QString& group, const QString& key, const QDBusVariant& value);
};

class TestPaletteAppearance : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void forcedSchemes_data()
    {
        QTest::addColumn<int>("scheme");
        QTest::addColumn<QColor>("text");
        QTest::addColumn<QColor>("background");
        QTest::newRow("dark") << int(AppearanceApplier::Scheme::Dark) << QColor(0xF5F4EF) << QColor(0x262624);
        QTest::newRow("light") << int(AppearanceApplier::Scheme::Light) << QColor(0x141413) << QColor(0xFAF9F5);
    }
    void forcedSchemes()
    {
        QFETCH(int, scheme);
        PaletteAppearanceApplier applier;
        applier.apply(AppearanceApplier::Scheme(scheme));
        const QPalette palette = QApplication::palette();
        QTEST(palette.color(QPalette::WindowText), "text");
        QTEST(palette.color(QPalette::Window), "background");
        QCOMPARE(Theme::isDark(palette), scheme == int(AppearanceApplier::Scheme::Dark));
    }

    // A widget drawn before the switch is drawn in the other variant after it, without reopening.
    void switchingRepaintsShownWidgets()
    {
        PaletteAppearanceApplier applier;
        applier.apply(AppearanceApplier::Scheme::Light);
        MarkdownBlockView code(MarkdownText::Block::code(QStringLiteral("x")));
        code.resize(200, 60);
        code.show();
        QCOMPARE(code.grab().toImage().pixelColor(100, 30), QColor(0xF0EEE6));
        applier.apply(AppearanceApplier::Scheme::Dark);
        QTRY_COMPARE(code.grab().toImage().pixelColor(100, 30), QColor(0x30302E));
    }

    void portalValues_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<bool>("dark");
        QTest::newRow("prefers dark") << QVariant(1u) << true;
        QTest::newRow("prefers light") << QVariant(2u) << false;
        QTest::newRow("no preference") << QVariant(0u) << false;
        QTest::newRow("wrapped twice") << QVariant::fromValue(QDBusVariant(QVariant::fromValue(QDBusVariant(1u))))
                                       << true;
        QTest::newRow("not a number") << QVariant(QStringLiteral("dark")) << false;
        QTest::newRow("nothing") << QVariant() << false;
    }
    void portalValues()
    {
        QFETCH(QVariant, value);
        QTEST(ColorSchemePortal::isDarkValue(value), "dark");
    }

    // Following the system reads the portal once and then follows its change signal.
    void followsThePortal()
    {
        QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "portal");
        if (!bus.isConnected())
            QSKIP("no session bus");
        SettingsPortal portal;
        portal.scheme = 1;
        QVERIFY(bus.registerObject("/org/freedesktop/portal/desktop", &portal,
                                   QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals));
        QVERIFY(bus.registerService("org.freedesktop.portal.Desktop"));

        PaletteAppearanceApplier applier;
        applier.apply(AppearanceApplier::Scheme::FollowSystem);
        QTRY_VERIFY(Theme::isDark(QApplication::palette()));

        Q_EMIT portal.SettingChanged("org.freedesktop.appearance", "color-scheme", QDBusVariant(2u));
        QTRY_VERIFY(!Theme::isDark(QApplication::palette()));
        Q_EMIT portal.SettingChanged("org.freedesktop.appearance", "color-scheme", QDBusVariant(1u));
        QTRY_VERIFY(Theme::isDark(QApplication::palette()));

        applier.apply(AppearanceApplier::Scheme::Light);
        Q_EMIT portal.SettingChanged("org.freedesktop.appearance", "color-scheme", QDBusVariant(1u));
        QTest::qWait(50);
        QVERIFY(!Theme::isDark(QApplication::palette()));
        bus.unregisterService("org.freedesktop.portal.Desktop");
        QDBusConnection::disconnectFromBus("portal");
    }
};

QTEST_MAIN(TestPaletteAppearance)
#include "tst_paletteappearance.moc"
