// The result panel's window on a real window manager (openbox in the private session): it is
// on every workspace, so switching workspaces never hides an answer the user is reading.
#include "platform/linux/LinuxPlatform.h"
#include "platform/linux/X11Connection.h"
#include "ui/FloatingPanel.h"

#include <QTest>
#include <X11/Xlib.h>

class TestPanelWorkspaces : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        LinuxPlatform::install();
        m_x11 = X11Connection::open();
        QVERIFY(m_x11);
        QVERIFY2(m_x11->hasWindowManager(), "needs a window manager (scripts/with-session starts one)");
    }

    void cleanupTestCase() { switchTo(0); }

    void panelStaysVisibleOnEveryWorkspace_data()
    {
        QTest::addColumn<bool>("shownBefore");
        QTest::newRow("first show") << false;
        QTest::newRow("shown again after hiding") << true;
    }

    void panelStaysVisibleOnEveryWorkspace()
    {
        QFETCH(bool, shownBefore);
        FloatingPanel panel(QSize(360, 260), true, true);
        if (shownBefore) {
            panel.show();
            QTRY_VERIFY(viewable(panel.winId()));
            panel.hide();
            QTRY_VERIFY(!viewable(panel.winId()));
            QTest::qWait(200);
        }
        // The window manager takes each switch in its own time: a switch not waited for can land
        // after the next one and leave the desktop where the check then reads it.
        switchTo(0);
        QTRY_COMPARE(currentDesktop(), std::optional<unsigned long>(0));
        panel.show();
        QTRY_COMPARE(m_x11->cardinal(panel.winId(), "_NET_WM_DESKTOP").value_or(0) & 0xFFFFFFFF, 0xFFFFFFFFul);
        switchTo(1);
        QTRY_COMPARE(currentDesktop(), std::optional<unsigned long>(1));
        QTest::qWait(100);
        QVERIFY(viewable(panel.winId()));
    }

private:
    std::optional<unsigned long> currentDesktop() { return m_x11->cardinal(m_x11->root(), "_NET_CURRENT_DESKTOP"); }

    bool viewable(WId window)
    {
        XWindowAttributes attributes{};
        return XGetWindowAttributes(m_x11->display(), window, &attributes) && attributes.map_state == IsViewable;
    }

    void switchTo(long desktop)
    {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = m_x11->root();
        event.xclient.message_type = m_x11->atom("_NET_CURRENT_DESKTOP");
        event.xclient.format = 32;
        event.xclient.data.l[0] = desktop;
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(m_x11->display(), m_x11->root(), False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
        XFlush(m_x11->display());
    }

    std::unique_ptr<X11Connection> m_x11;
};

QTEST_MAIN(TestPanelWorkspaces)
#include "tst_panelworkspaces.moc"
