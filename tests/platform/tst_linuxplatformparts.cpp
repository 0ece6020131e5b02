// The Linux platform's own decisions that need no other application: click counting, key
// translation, which clipboard formats survive a restore, desktop entries, and starting
// without an X11 display.
#include "platform/Platform.h"
#include "platform/linux/ApplicationScale.h"
#include "platform/linux/AtspiElement.h"
#include "platform/linux/ClickCounter.h"
#include "platform/linux/DesktopEntries.h"
#include "platform/linux/LinuxAccessibilityGrant.h"
#include "platform/linux/LinuxPlatform.h"
#include "platform/linux/QtClipboard.h"
#include "platform/linux/X11KeyMap.h"
#include "support/TestRows.h"

#include <QTest>
#include <X11/keysym.h>

Q_DECLARE_METATYPE(std::optional<QRectF>)

class TestLinuxPlatformParts : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Presses as "time@x,y" separated by spaces, with a 400 ms interval and a 5 pixel distance.
    void clickCount_data()
    {
        QTest::addColumn<QString>("presses");
        QTest::addColumn<QList<int>>("counts");
        addRow("double", "1000@10,10 1200@10,10", QList<int>{1, 2});
        addRow("triple", "1000@10,10 1150@11,10 1300@10,11", QList<int>{1, 2, 3});
        addRow("interval is inclusive", "1000@10,10 1400@10,10", QList<int>{1, 2});
        addRow("too slow", "1000@10,10 1401@10,10", QList<int>{1, 1});
        addRow("distance is inclusive", "1000@10,10 1100@15,5", QList<int>{1, 2});
        addRow("too far", "1000@10,10 1100@16,10", QList<int>{1, 1});
        addRow("series restarts", "1000@10,10 1100@10,10 2000@10,10 2100@10,10", QList<int>{1, 2, 1, 2});
        addRow("server clock wraps", "4294967200@10,10 100@10,10", QList<int>{1, 2});
    }

    void clickCount()
    {
        QFETCH(QString, presses);
        ClickCounter counter(400, 5);
        QList<int> seen;
        for (const QString& press : presses.split(QLatin1Char(' '))) {
            const QStringList parts = press.split(QLatin1Char('@'));
            const QStringList xy = parts.at(1).split(QLatin1Char(','));
            seen.append(counter.press(parts.at(0).toUInt(), QPoint(xy.at(0).toInt(), xy.at(1).toInt())));
        }
        QTEST(seen, "counts");
    }

    // A browser answers zeros for the characters of a selection it has not laid out for
    // accessibility yet; a single answered character is no place for the whole range.
    void rangeFromCharacters_data()
    {
        using Box = std::optional<QRectF>;
        QTest::addColumn<Box>("first");
        QTest::addColumn<Box>("last");
        QTest::addColumn<Box>("expected");
        const Box p(QRectF(298, 232, 11, 26));
        const Box h(QRectF(438, 232, 11, 26));
        const Box zero(QRectF(0, 0, 0, 0));
        addRow("one line", p, h, Box(QRectF(298, 232, 151, 26)));
        addRow("over two lines", p, Box(QRectF(30, 272, 11, 26)), Box(QRectF(30, 232, 279, 66)));
        addRow("ends at a line break", p, Box(QRectF(449, 232, 0, 26)), Box(QRectF(298, 232, 151, 26)));
        addRow("first not laid out yet", zero, h, Box());
        addRow("last not laid out yet", p, zero, Box());
        addRow("characters without height", Box(QRectF(298, 232, 11, 0)), Box(QRectF(438, 232, 11, 0)), Box());
        addRow("last not answered", p, Box(), Box());
    }
    void rangeFromCharacters()
    {
        QFETCH(std::optional<QRectF>, first);
        QFETCH(std::optional<QRectF>, last);
        QTEST(AtspiElement::rangeFromCharacters(first, last), "expected");
    }

    void keyTranslation_data()
    {
        QTest::addColumn<qulonglong>("keysym");
        QTest::addColumn<int>("key");
        addRow("a", qulonglong(XK_a), int(Qt::Key_A));
        addRow("A with Caps Lock", qulonglong(XK_A), int(Qt::Key_A));
        addRow("Right", qulonglong(XK_Right), int(Qt::Key_Right));
        addRow("keypad Home", qulonglong(XK_KP_Home), int(Qt::Key_Home));
        addRow("Escape", qulonglong(XK_Escape), int(Qt::Key_Escape));
        addRow("a Latin-1 letter", qulonglong(XK_adiaeresis), int(Qt::Key_Adiaeresis));
        addRow("F5", qulonglong(XK_F5), int(Qt::Key_F5));
        addRow("no Qt key", qulonglong(XK_Multi_key), int(Qt::Key_unknown));
    }

    void keyTranslation()
    {
        QFETCH(qulonglong, keysym);
        QFETCH(int, key);
        QCOMPARE(int(X11KeyMap::key(keysym)), key);
        // A key the keyboard can type goes back as a symbol that reads as the same key.
        if (const unsigned long typed = X11KeyMap::keysym(Qt::Key(key)))
            QCOMPARE(int(X11KeyMap::key(typed)), key);
    }

    // A toolkit that scales itself reports its window smaller than the X server has it; window
    // decorations and rounding make the two differ by a few pixels even at the same scale.
    void applicationScale_data()
    {
        QTest::addColumn<QSizeF>("device");
        QTest::addColumn<QSizeF>("reported");
        QTest::addColumn<double>("scale");
        addRow("same size", QSizeF(700, 500), QSizeF(700, 500), 1.0);
        addRow("frame included in the report", QSizeF(560, 300), QSizeF(562, 325), 1.0);
        addRow("GTK at scale 2 with its frame", QSizeF(1120, 600), QSizeF(561, 313), 2.0);
        addRow("Qt at scale 1.5", QSizeF(1050, 750), QSizeF(700, 500), 1.5);
        addRow("reported larger: no scale", QSizeF(300, 200), QSizeF(600, 400), 1.0);
        addRow("beyond any real scale", QSizeF(5000, 500), QSizeF(500, 50), 1.0);
        addRow("nothing reported", QSizeF(700, 500), QSizeF(0, 0), 1.0);
    }
    void applicationScale()
    {
        QFETCH(QSizeF, device);
        QFETCH(QSizeF, reported);
        QTEST(ApplicationScale::fromSizes(device, reported), "scale");
    }

    void modifierKeys_data()
    {
        QTest::addColumn<qulonglong>("keysym");
        QTest::addColumn<int>("modifier");
        addRow("Control_L", qulonglong(XK_Control_L), int(X11KeyMap::Modifier::Control));
        addRow("Alt_L", qulonglong(XK_Alt_L), int(X11KeyMap::Modifier::Other));
        addRow("AltGr", qulonglong(XK_ISO_Level3_Shift), int(X11KeyMap::Modifier::Other));
        addRow("Caps_Lock", qulonglong(XK_Caps_Lock), int(X11KeyMap::Modifier::Other));
        addRow("a", qulonglong(XK_a), int(X11KeyMap::Modifier::Plain));
    }

    void modifierKeys()
    {
        QFETCH(qulonglong, keysym);
        QTEST(int(X11KeyMap::modifier(keysym)), "modifier");
    }

    void restorableFormats_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<bool>("kept");
        addRow("plain text", "text/plain", true);
        addRow("utf-8 text", "text/plain;charset=utf-8", true);
        addRow("html", "text/html", true);
        addRow("png", "image/png", true);
        addRow("uri list", "text/uri-list", true);
        addRow("TARGETS", "TARGETS", false);
        addRow("MULTIPLE", "MULTIPLE", false);
        addRow("TIMESTAMP", "TIMESTAMP", false);
        addRow("SAVE_TARGETS", "SAVE_TARGETS", false);
        addRow("GTK buffer contents", "GTK_TEXT_BUFFER_CONTENTS", false);
        addRow("GTK rich text", "application/x-gtk-text-buffer-rich-text", false);
        addRow("Qt image", "application/x-qt-image", false);
        addRow("Chromium private", "chromium/x-web-custom-data", false);
    }

    void restorableFormats()
    {
        QFETCH(QString, format);
        QTEST(QtClipboard::isRestorableFormat(format), "kept");
    }

    void desktopEntryName_data()
    {
        QTest::addColumn<QByteArray>("entry");
        QTest::addColumn<QString>("name");
        addRow("plain", QByteArray("[Desktop Entry]\nType=Application\nName=Text Editor\n"), "Text Editor");
        addRow("translations ignored", QByteArray("[Desktop Entry]\nName[de]=Texteditor\nName = Editor\n"), "Editor");
        addRow("actions ignored", QByteArray("[Desktop Action new]\nName=New Window\n[Desktop Entry]\nName=Web\n"),
               "Web");
        addRow("no name", QByteArray("[Desktop Entry]\nType=Application\n"), QString());
    }

    void desktopEntryName()
    {
        QFETCH(QByteArray, entry);
        QTEST(DesktopEntries::nameFromEntry(entry), "name");
    }

    void accessibilitySettings_data()
    {
        QTest::addColumn<QString>("desktop");
        QTest::addColumn<QString>("program");
        addRow("GNOME", "GNOME", "gnome-control-center");
        addRow("Ubuntu", "ubuntu:GNOME", "gnome-control-center");
        addRow("KDE", "KDE", "systemsettings");
        addRow("unknown", "XFCE", QString());
        addRow("unset", QString(), QString());
    }

    void accessibilitySettings()
    {
        QFETCH(QString, desktop);
        QTEST(LinuxAccessibilityGrant::settingsCommand(desktop).value(0), "program");
    }

    // Run on Qt's offscreen platform, as under Wayland or with no display at all.
    void startsWithoutX11()
    {
        LinuxPlatform::install();
        QVERIFY(!LinuxPlatform::unavailableReason().isEmpty());
        QVERIFY(
            !Platform::globalEvents().addMonitor(InputEvent::Type::LeftMouseDown, [](const InputEvent&) {}).isActive());
        QVERIFY(!Platform::workspace().activeApplication());
        QVERIFY(!Platform::screens().screens().isEmpty());
        Platform::install({});
    }
};

QTEST_MAIN(TestLinuxPlatformParts)
#include "tst_linuxplatformparts.moc"
