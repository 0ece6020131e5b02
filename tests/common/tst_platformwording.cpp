#include "common/PlatformWording.h"

#include <QRegularExpression>
#include <QTest>

using PlatformWording::Platform;
using PlatformWording::Text;

Q_DECLARE_METATYPE(PlatformWording::Text)

class TestPlatformWording : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Each wording names its own machine; the long texts are told apart by their distinctive ends.
    void bothWordings_data()
    {
        QTest::addColumn<Text>("key");
        QTest::addColumn<QString>("mac");
        QTest::addColumn<QString>("linuxText");
        // The two prompt texts are checked, in both wordings, with the prompts they open.
        QTest::newRow("save history switch") << Text::SaveHistorySwitch << "Save history on this Mac"
                                             << "Save history on this computer";
        QTest::newRow("history note") << Text::HistoryKeptLocallyNote << "kept only on this Mac, so you"
                                      << "kept only on this computer, so you";
        QTest::newRow("clear history title") << Text::ClearHistoryConfirmationTitle << "Clear all history on this Mac?"
                                             << "Clear all history on this computer?";
        QTest::newRow("sign-in link mismatch") << Text::SignInLinkMismatch << "doesn't match this Mac. Choose"
                                               << "doesn't match this computer. Choose";
        QTest::newRow("accessibility explanation")
            << Text::AccessibilityExplanation
            << QString::fromUtf8("System Settings → Privacy & Security → Accessibility.")
            << QString::fromUtf8("Turn it on in your desktop's Settings → Accessibility.");
    }

    void bothWordings()
    {
        QFETCH(Text, key);
        QFETCH(QString, mac);
        QFETCH(QString, linuxText);
        QVERIFY(PlatformWording::text(key, Platform::Mac).contains(mac));
        QVERIFY(PlatformWording::text(key, Platform::Linux).contains(linuxText));
        // This is a Linux build: the program shows the Linux wording.
        QCOMPARE(PlatformWording::text(key), PlatformWording::text(key, Platform::Linux));
    }

    void everyKeyHasARow()
    {
        const QList<Text> keys = PlatformWording::allTexts();
        QCOMPARE(keys.size(), 7);
        for (int i = 0; i < keys.size(); ++i)
            QCOMPARE(static_cast<int>(keys.at(i)), i);
    }

    void noLinuxTextNamesTheMac()
    {
        const QRegularExpression machineName(QStringLiteral("\\bMac\\b|macOS"));
        for (const Text key : PlatformWording::allTexts()) {
            const QString mac = PlatformWording::text(key, Platform::Mac);
            const QString linuxText = PlatformWording::text(key, Platform::Linux);
            QVERIFY2(mac.contains(QLatin1String("Mac")) || mac.contains(QLatin1String("System Settings")),
                     qPrintable(mac));
            QVERIFY2(!linuxText.contains(machineName), qPrintable(linuxText));
            QVERIFY2(!linuxText.contains(QLatin1String("System Settings")), qPrintable(linuxText));
            QVERIFY2(!linuxText.contains(QLatin1String("Privacy & Security")), qPrintable(linuxText));
        }
    }
};

QTEST_GUILESS_MAIN(TestPlatformWording)
#include "tst_platformwording.moc"
