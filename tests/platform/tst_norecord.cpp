// Starting on an X server without the RECORD extension, which watching other applications'
// input needs: the program runs, and the settings say what is missing. The test brings its own
// X server, started without that extension.
#include "platform/Platform.h"
#include "platform/linux/LinuxPlatform.h"

#include <QGuiApplication>
#include <QProcess>
#include <QTest>

class TestNoRecord : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void namesTheMissingExtension()
    {
        LinuxPlatform::install();
        const QString reason = LinuxPlatform::unavailableReason();
        QVERIFY2(reason.contains(QLatin1String("RECORD extension")), qPrintable(reason));
        QVERIFY(
            !Platform::globalEvents().addMonitor(InputEvent::Type::LeftMouseDown, [](const InputEvent&) {}).isActive());
        QVERIFY(Platform::workspace().ownProcessId() > 0);
        Platform::install({});
    }
};

int main(int argc, char* argv[])
{
    QProcess server;
    server.start(QStringLiteral("Xvfb"),
                 {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-extension"),
                  QStringLiteral("RECORD"), QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    if (!server.waitForStarted(5000) || !server.waitForReadyRead(10000)) {
        qWarning("tst_norecord: Xvfb could not be started");
        return 1;
    }
    qputenv("DISPLAY", ":" + server.readLine().trimmed());
    qputenv("QT_QPA_PLATFORM", "xcb");
    qunsetenv("WAYLAND_DISPLAY");
    int status = 0;
    {
        QGuiApplication app(argc, argv);
        TestNoRecord test;
        status = QTest::qExec(&test, argc, argv);
    }
    server.terminate();
    server.waitForFinished(5000);
    return status;
}

#include "tst_norecord.moc"
