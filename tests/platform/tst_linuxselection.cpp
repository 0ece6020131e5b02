// The whole selection road on real applications in the private desktop session: a Qt
// application of our own and GTK's zenity, driven with xdotool, read and written through the
// Linux platform services and the selection logic above them.
#include "AtspiProbe.h"
#include "DesktopDriver.h"
#include "platform/Platform.h"
#include "platform/linux/LinuxPlatform.h"
#include "selection/SelectionMonitor.h"
#include "selection/SelectionReader.h"
#include "selection/TextReplacer.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QTemporaryFile>
#include <QTest>
#include <atspi/atspi.h>
#include <csignal>

using namespace DesktopDriver;

namespace {

struct Seen {
    Selection selection;
    qint64 atMs = 0;
};

const char* const zenityText = "one two three\nfour five six\nseven eight nine\n";

} // namespace

class TestLinuxSelection : public QObject {
    Q_OBJECT

private:
    struct Target {
        qint32 pid = 0;
        unsigned long window = 0;
        AtspiProbe::Ref text;
        QString initial; // the text a test starts from
    };

    QString m_targetProgram;
    std::unique_ptr<QProcess> m_qt;
    std::unique_ptr<QProcess> m_gtk;
    QTemporaryFile m_gtkFile;
    Target m_qtLine;
    Target m_qtEditor;
    Target m_gtkText;
    QHash<QString, Target> m_targets;
    SelectionMonitor m_monitor;
    QElapsedTimer m_clock;
    QList<Seen> m_selections;
    int m_dismissals = 0;
    qint64 m_lastGestureMs = 0;
    TaskHandle m_mouseUps;
    TaskHandle m_keyUps;

    std::unique_ptr<QProcess> startZenity(bool editable, QTemporaryFile& file)
    {
        if (!file.open())
            return nullptr;
        file.write(zenityText);
        file.flush();
        QStringList arguments = {QStringLiteral("--text-info"), QStringLiteral("--width=520"),
                                 QStringLiteral("--height=320"), QStringLiteral("--filename=") + file.fileName()};
        if (editable)
            arguments << QStringLiteral("--editable");
        return launch(QStringLiteral("zenity"), arguments);
    }

    Target zenityTarget(QProcess& zenity)
    {
        const qint32 pid = qint32(zenity.processId());
        Target target{pid, windowOf(pid), {}, QString::fromUtf8(zenityText)};
        (void)QTest::qWaitFor([&] { return bool(target.text = AtspiProbe::byRole(pid, ATSPI_ROLE_TEXT)); }, 10000);
        // The text view fills in after the window appears.
        (void)QTest::qWaitFor([&] { return !AtspiProbe::text(target.text).isEmpty(); }, 5000);
        return target;
    }

    void resetRecord()
    {
        m_selections.clear();
        m_dismissals = 0;
    }

    // Brings the target to the front with known text and no selection, and lets a double click's
    // interval pass so the next gesture starts a new click series.
    void prepare(const Target& target, const QString& text)
    {
        QVERIFY(activate(target.window));
        QVERIFY(AtspiProbe::setText(target.text, text));
        QTRY_COMPARE(AtspiProbe::text(target.text), text);
        click(AtspiProbe::characterRect(target.text, 0).center());
        QTest::qWait(450);
        resetRecord();
    }

    void select(const Target& target, const QString& gesture, int from, int to)
    {
        const QRect first = AtspiProbe::characterRect(target.text, from);
        const QRect last = AtspiProbe::characterRect(target.text, to - 1);
        if (gesture == QLatin1String("drag")) {
            drag(QPoint(first.left() + 1, first.center().y()), QPoint(last.right() + 2, last.center().y()));
        } else if (gesture == QLatin1String("double")) {
            click(first.center(), 2);
        } else if (gesture == QLatin1String("triple")) {
            click(first.center(), 3);
        } else if (gesture == QLatin1String("shift-arrows")) {
            click(QPoint(first.left() + 1, first.center().y()));
            QTest::qWait(450);
            resetRecord();
            keys(QStringList(to - from, QStringLiteral("shift+Right")));
        } else if (gesture == QLatin1String("select-all")) {
            keys({QStringLiteral("ctrl+a")});
        }
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            QSKIP("needs an X11 display (run inside scripts/with-session)");
        m_targetProgram = QStringLiteral(HALVORA_SELECTION_TARGET);
        LinuxPlatform::install();
        QVERIFY2(LinuxPlatform::unavailableReason().isEmpty(), qPrintable(LinuxPlatform::unavailableReason()));
        QVERIFY(Platform::accessibilityGrant().isGranted());

        m_qt = launch(m_targetProgram, {});
        QVERIFY(m_qt);
        QVERIFY(waitForLine(*m_qt, "ready"));
        const qint32 qtPid = qint32(m_qt->processId());
        QTRY_VERIFY_WITH_TIMEOUT(AtspiProbe::byName(qtPid, QStringLiteral("editor")), 10000);
        m_qtLine = {qtPid, windowOf(qtPid), AtspiProbe::byName(qtPid, QStringLiteral("line")), "alpha beta gamma"};
        m_qtEditor = {qtPid, m_qtLine.window, AtspiProbe::byName(qtPid, QStringLiteral("editor")),
                      "first line words\nsecond line here\nthird line end"};
        QVERIFY(m_qtLine.window && m_qtLine.text);

        m_gtk = startZenity(true, m_gtkFile);
        QVERIFY(m_gtk);
        m_gtkText = zenityTarget(*m_gtk);
        QVERIFY(m_gtkText.window && m_gtkText.text);
        m_targets = {{"qt-line", m_qtLine}, {"qt-editor", m_qtEditor}, {"gtk", m_gtkText}};

        m_clock.start();
        connect(&m_monitor, &SelectionMonitor::selected, this, [this](const Selection& s) {
            m_selections.append({s, m_clock.elapsed()});
        });
        connect(&m_monitor, &SelectionMonitor::dismissed, this, [this] { ++m_dismissals; });
        m_monitor.start();
        auto noteGesture = [this](const InputEvent&) { m_lastGestureMs = m_clock.elapsed(); };
        m_mouseUps = Platform::globalEvents().addMonitor(InputEvent::Type::LeftMouseUp, noteGesture);
        m_keyUps = Platform::globalEvents().addMonitor(InputEvent::Type::KeyUp, noteGesture);
    }

    void cleanupTestCase()
    {
        m_monitor.stop();
        stop(m_qt);
        stop(m_gtk);
    }

    void gestureReadsSelection_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("gesture");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("delayMs");
        const QString line = QStringLiteral("alpha beta gamma");
        QTest::newRow("qt line: drag") << "qt-line"
                                       << "drag" << 6 << 10 << "beta" << 150;
        QTest::newRow("qt line: double click") << "qt-line"
                                               << "double" << 11 << 16 << "gamma" << 250;
        QTest::newRow("qt line: shift+arrows") << "qt-line"
                                               << "shift-arrows" << 0 << 5 << "alpha" << 200;
        QTest::newRow("qt line: ctrl+a") << "qt-line"
                                         << "select-all" << 0 << 16 << line << 200;
        QTest::newRow("qt editor: triple click") << "qt-editor"
                                                 << "triple" << 17 << 33 << "second line here" << 250;
        QTest::newRow("gtk: drag") << "gtk"
                                   << "drag" << 4 << 7 << "two" << 150;
        QTest::newRow("gtk: double click") << "gtk"
                                           << "double" << 19 << 23 << "five" << 250;
        QTest::newRow("gtk: shift+arrows") << "gtk"
                                           << "shift-arrows" << 8 << 13 << "three" << 200;
        QTest::newRow("gtk: ctrl+a") << "gtk"
                                     << "select-all" << 0 << 13 << "one two three\nfour five six\nseven eight nine"
                                     << 200;
    }

    void gestureReadsSelection()
    {
        QFETCH(QString, target);
        QFETCH(QString, gesture);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(int, delayMs);
        const Target t = m_targets.value(target);
        prepare(t, t.initial);
        const QRect firstChar = AtspiProbe::characterRect(t.text, from);
        select(t, gesture, from, to);

        QTRY_COMPARE_WITH_TIMEOUT(m_selections.size(), 1, 3000);
        QTest::qWait(400);
        QCOMPARE(m_selections.size(), 1);
        const Seen seen = m_selections.first();
        QTEST(seen.selection.text.trimmed(), "expected");
        QVERIFY(seen.selection.isEditable);
        QCOMPARE(seen.selection.pid, t.pid);
        QVERIFY(seen.selection.rect);
        const QRectF onScreen = seen.selection.rect->adjusted(-2, -2, 2, 2);
        QVERIFY2(onScreen.contains(firstChar.center()), "the rectangle is where the selected text is");
        const qint64 waited = seen.atMs - m_lastGestureMs;
        QVERIFY2(waited >= delayMs && waited < delayMs + 1000, qPrintable(QString::number(waited)));
    }

    void gestureDismisses_data()
    {
        QTest::addColumn<QString>("gesture");
        QTest::addColumn<bool>("dismisses");
        QTest::newRow("click") << "click" << true;
        QTest::newRow("typing") << "typing" << true;
        QTest::newRow("application switch") << "switch" << true;
        QTest::newRow("ctrl+c") << "copy" << false;
    }

    void gestureDismisses()
    {
        QFETCH(QString, gesture);
        QFETCH(bool, dismisses);
        prepare(m_qtLine, QStringLiteral("alpha beta gamma"));
        if (gesture == QLatin1String("click"))
            click(AtspiProbe::characterRect(m_qtLine.text, 3).center());
        else if (gesture == QLatin1String("typing"))
            keys({QStringLiteral("x")});
        else if (gesture == QLatin1String("switch"))
            QVERIFY(activate(m_gtkText.window));
        else
            keys({QStringLiteral("ctrl+c")});
        if (dismisses) {
            QTRY_VERIFY_WITH_TIMEOUT(m_dismissals >= 1, 3000);
        } else {
            QTest::qWait(500);
            QCOMPARE(m_dismissals, 0);
        }
        QVERIFY(m_selections.isEmpty());
    }

    void replaceWritesThroughAccessibility_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("from");
        QTest::addColumn<QString>("expected");
        QTest::newRow("qt line") << "qt-line"
                                 << "alpha beta gamma" << 6 << "alpha REPLACED gamma";
        QTest::newRow("qt editor") << "qt-editor"
                                   << "first line words" << 6 << "first REPLACED words";
        QTest::newRow("gtk") << "gtk"
                             << "one two three" << 4 << "one REPLACED three";
    }

    void replaceWritesThroughAccessibility()
    {
        QFETCH(QString, target);
        QFETCH(QString, text);
        QFETCH(int, from);
        QFETCH(QString, expected);
        const Target t = m_targets.value(target);
        QVERIFY(setClipboard(QStringLiteral("keep me")));
        prepare(t, text);
        select(t, QStringLiteral("double"), from, from + 1);
        QTRY_COMPARE_WITH_TIMEOUT(m_selections.size(), 1, 3000);
        TextReplacer::replace(m_selections.first().selection, QStringLiteral("REPLACED"));
        QTRY_COMPARE_WITH_TIMEOUT(AtspiProbe::text(t.text), expected, 3000);
        // Past the time a paste would have restored the clipboard.
        QTest::qWait(700);
        QCOMPARE(clipboard(), QByteArray("keep me"));
    }

    void pasteFallbackRestoresClipboard_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("changedMeanwhile");
        QTest::newRow("qt line, restored") << "qt-line"
                                           << "alpha beta gamma"
                                           << "alpha PASTED gamma" << false;
        QTest::newRow("gtk, restored") << "gtk"
                                       << "one two three"
                                       << "one PASTED three" << false;
        QTest::newRow("gtk, copied meanwhile") << "gtk"
                                               << "one two three"
                                               << "one PASTED three" << true;
    }

    void pasteFallbackRestoresClipboard()
    {
        QFETCH(QString, target);
        QFETCH(QString, text);
        QFETCH(bool, changedMeanwhile);
        const Target t = m_targets.value(target);
        auto owner = launch(m_targetProgram, {QStringLiteral("--own-clipboard")});
        QVERIFY(owner && waitForLine(*owner, "owned"));
        const QByteArray image = clipboard(QStringLiteral("image/png"));
        QVERIFY(!image.isEmpty());
        prepare(t, text);
        const int word = text.indexOf(QLatin1Char(' ')) + 1;
        select(t, QStringLiteral("double"), word, word + 1);
        QTRY_COMPARE_WITH_TIMEOUT(m_selections.size(), 1, 3000);
        Selection withoutElement = m_selections.first().selection;
        withoutElement.element.reset();
        TextReplacer::replace(withoutElement, QStringLiteral("PASTED"));
        // No questions to the target meanwhile: a Qt application waits for our clipboard answer
        // without answering its accessibility calls, and the two would hold each other up.
        QTest::qWait(350);
        if (changedMeanwhile)
            QVERIFY(setClipboard(QStringLiteral("copied meanwhile")));
        QTest::qWait(800);
        QTEST(AtspiProbe::text(t.text), "expected");
        if (changedMeanwhile) {
            QCOMPARE(clipboard(), QByteArray("copied meanwhile"));
        } else {
            QCOMPARE(clipboard(), QByteArray("user text"));
            QCOMPARE(QImage::fromData(clipboard(QStringLiteral("image/png"))), QImage::fromData(image));
        }
        stop(owner);
    }

    void readOnlyTextIsNotReplaced()
    {
        QTemporaryFile file;
        auto zenity = startZenity(false, file);
        QVERIFY(zenity);
        const Target readOnly = zenityTarget(*zenity);
        QVERIFY(readOnly.window && readOnly.text);
        QVERIFY(activate(readOnly.window));
        QTest::qWait(450);
        resetRecord();
        click(AtspiProbe::characterRect(readOnly.text, 5).center(), 2);
        QTRY_COMPARE_WITH_TIMEOUT(m_selections.size(), 1, 3000);
        const Selection selection = m_selections.first().selection;
        QCOMPARE(selection.text, QStringLiteral("two"));
        QVERIFY(!selection.isEditable);
        const QString before = AtspiProbe::text(readOnly.text);
        QVERIFY(!selection.element->setSelectedText(QStringLiteral("X")));
        QCOMPARE(AtspiProbe::text(readOnly.text), before);
        stop(zenity);
    }

    // An application that does not answer gives nothing rather than holding the program up.
    void stoppedApplicationReadsNothing()
    {
        prepare(m_gtkText, QStringLiteral("one two three"));
        select(m_gtkText, QStringLiteral("double"), 4, 5);
        QTRY_COMPARE_WITH_TIMEOUT(m_selections.size(), 1, 3000);
        QVERIFY(SelectionReader::read());
        const qint64 pid = m_gtk->processId();
        ::kill(pid, SIGSTOP);
        const std::optional<Selection> stopped = SelectionReader::read();
        ::kill(pid, SIGCONT);
        QVERIFY(!stopped);
        QTRY_VERIFY_WITH_TIMEOUT(SelectionReader::read(), 3000);
    }
};

int main(int argc, char* argv[])
{
    // Without a display the test still starts, to skip.
    qputenv("QT_QPA_PLATFORM", qEnvironmentVariableIsEmpty("DISPLAY") ? "offscreen" : "xcb");
    QGuiApplication app(argc, argv);
    TestLinuxSelection test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_linuxselection.moc"
