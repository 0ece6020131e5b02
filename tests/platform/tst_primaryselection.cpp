// The primary selection on the private desktop session: a real terminal, which is not on the
// accessibility bus, and xclip, a client with no window the window manager knows, each claim
// it; the reading tells who claimed it, since when and what it holds.
#include "DesktopDriver.h"
#include "platform/Clock.h"
#include "platform/linux/X11ClientProcess.h"
#include "platform/linux/X11PrimarySelection.h"

#include <QTest>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

using namespace DesktopDriver;

namespace {

const QByteArray terminalLine = "alpha beta gamma";

// The window's place on the root (xdotool counts the window manager's frame in twice).
QRect geometryOf(X11Connection& x11, unsigned long window)
{
    Window root = 0;
    Window child = 0;
    int x = 0;
    int y = 0;
    unsigned int width = 0;
    unsigned int height = 0;
    unsigned int border = 0;
    unsigned int depth = 0;
    if (!XGetGeometry(x11.display(), window, &root, &x, &y, &width, &height, &border, &depth) ||
        !XTranslateCoordinates(x11.display(), window, x11.root(), 0, 0, &x, &y, &child))
        return {};
    return {x, y, int(width), int(height)};
}

} // namespace

class TestPrimarySelection : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        m_terminal = launch(QStringLiteral("xterm"),
                            {QStringLiteral("-geometry"), QStringLiteral("60x6+40+40"), QStringLiteral("-e"),
                             QStringLiteral("sh"), QStringLiteral("-c"),
                             QStringLiteral("printf '%1\\n'; exec sleep 120").arg(QString::fromLatin1(terminalLine))});
        QVERIFY(m_terminal);
        m_terminalWindow = windowOf(qint32(m_terminal->processId()));
        QVERIFY(m_terminalWindow);
        QVERIFY(activate(m_terminalWindow));
        m_x11 = X11Connection::open();
        m_primary = X11PrimarySelection::create(X11Connection::open());
        QVERIFY(m_x11 && m_primary);
        QTest::qWait(300); // the line is printed
    }
    void cleanupTestCase()
    {
        stop(m_xclip);
        stop(m_terminal);
    }

    void claimsAreTold_data()
    {
        QTest::addColumn<bool>("byTerminal");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("windowManagerKnowsOwner");

        QTest::newRow("a drag in the terminal") << true << terminalLine << true;
        QTest::newRow("xclip, a client without windows of its own") << false << QByteArray("from xclip") << false;
    }
    void claimsAreTold()
    {
        QFETCH(bool, byTerminal);
        QFETCH(QByteArray, text);
        QFETCH(bool, windowManagerKnowsOwner);
        const qint64 gestureStart = Clock::system().monotonicMs();
        const qint32 claimant = byTerminal ? selectInTerminal() : claimWithXclip(text);
        QVERIFY(claimant > 0);
        QVERIFY(QTest::qWaitFor([&] { return m_primary->ownerClaimedSince(gestureStart).has_value(); }, 5000));

        QCOMPARE(m_primary->ownerClaimedSince(gestureStart), std::optional<qint32>(claimant));
        QCOMPARE(m_primary->text().value_or(QString()).trimmed(), QString::fromUtf8(text));
        // The terminal stays the active application either way: only its own claim is its selection.
        const auto active = m_x11->activeWindow();
        QVERIFY(active);
        QCOMPARE(m_x11->windowPid(*active) == claimant, byTerminal);
        // A gesture that starts now finds the claim stale.
        QTest::qWait(5);
        QVERIFY(!m_primary->ownerClaimedSince(Clock::system().monotonicMs()));

        // Without X-Resource, only an owner inside a window the window manager knows is found.
        const unsigned long owner = XGetSelectionOwner(m_x11->display(), XA_PRIMARY);
        QCOMPARE(X11ClientProcess::fromResources(*m_x11, owner), std::optional<qint32>(claimant));
        QCOMPARE(X11ClientProcess::fromWindowManagerHints(*m_x11, owner),
                 windowManagerKnowsOwner ? std::optional<qint32>(claimant) : std::nullopt);
    }

private:
    // Drags across the terminal's first line, past its end.
    qint32 selectInTerminal()
    {
        const QRect frame = geometryOf(*m_x11, m_terminalWindow);
        if (frame.isEmpty())
            return 0;
        const int lineY = frame.top() + 8;
        drag(QPoint(frame.left() + 3, lineY), QPoint(frame.right() - 4, lineY));
        return qint32(m_terminal->processId());
    }

    qint32 claimWithXclip(const QByteArray& text)
    {
        stop(m_xclip);
        m_xclip = launch(QStringLiteral("xclip"),
                         {QStringLiteral("-quiet"), QStringLiteral("-selection"), QStringLiteral("primary")});
        if (!m_xclip)
            return 0;
        m_xclip->write(text);
        m_xclip->closeWriteChannel();
        return qint32(m_xclip->processId());
    }

    std::unique_ptr<QProcess> m_terminal;
    std::unique_ptr<QProcess> m_xclip;
    unsigned long m_terminalWindow = 0;
    std::unique_ptr<X11Connection> m_x11;
    std::shared_ptr<X11PrimarySelection> m_primary;
};

QTEST_GUILESS_MAIN(TestPrimarySelection)
#include "tst_primaryselection.moc"
