#include "platform/linux/LinuxAccessibilityGrant.h"

#include "platform/PlatformLog.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace {

QDBusMessage statusCall(const QString& method)
{
    QDBusMessage message =
        QDBusMessage::createMethodCall(QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
                                       QStringLiteral("org.freedesktop.DBus.Properties"), method);
    message << QStringLiteral("org.a11y.Status") << QStringLiteral("IsEnabled");
    return message;
}

} // namespace

bool LinuxAccessibilityGrant::isGranted()
{
    const QDBusMessage reply =
        QDBusConnection::sessionBus().call(statusCall(QStringLiteral("Get")), QDBus::Block, busTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        qCWarning(platformLog).noquote() << "D-Bus: reading the accessibility status failed:" << reply.errorMessage();
        return false;
    }
    return reply.arguments().first().value<QDBusVariant>().variant().toBool();
}

// Applications already running keep what they had at their start (Qt ones expose nothing until
// restarted); those started from now on expose their text. The bus keeps the switch in the
// desktop's own setting where it has one (GNOME's toolkit-accessibility), so it outlasts the
// session there.
void LinuxAccessibilityGrant::requestGrant()
{
    QDBusMessage message = statusCall(QStringLiteral("Set"));
    message << QVariant::fromValue(QDBusVariant(true));
    if (!QDBusConnection::sessionBus().send(message))
        qCWarning(platformLog) << "D-Bus: switching accessibility on could not be sent";
}

bool LinuxAccessibilityGrant::openSettings()
{
    const QStringList command = settingsCommand(qEnvironmentVariable("XDG_CURRENT_DESKTOP"));
    if (!command.isEmpty() && QProcess::startDetached(command.first(), command.mid(1)))
        return true;
    if (!command.isEmpty())
        qCWarning(platformLog) << "Cannot start" << command.first() << "- opening the help on accessibility instead";
    const QString help = helpFile();
    if (!help.isEmpty() && QDesktopServices::openUrl(QUrl::fromLocalFile(help)))
        return true;
    qCWarning(platformLog) << "Cannot open the help on accessibility" << help;
    return false;
}

QStringList LinuxAccessibilityGrant::settingsCommand(const QString& currentDesktop)
{
    const QStringList desktops = currentDesktop.toUpper().split(QLatin1Char(':'), Qt::SkipEmptyParts);
    if (desktops.contains(QStringLiteral("GNOME")) || desktops.contains(QStringLiteral("UNITY")))
        return {QStringLiteral("gnome-control-center"), QStringLiteral("universal-access")};
    if (desktops.contains(QStringLiteral("KDE")))
        return {QStringLiteral("systemsettings"), QStringLiteral("kcm_access")};
    return {};
}

QString LinuxAccessibilityGrant::helpFile()
{
    const QDir programDir(QCoreApplication::applicationDirPath());
    const QStringList candidates = {
        programDir.filePath(QStringLiteral("../share/doc/halvora/README.md")),
        QStringLiteral(HALVORA_SOURCE_README),
    };
    for (const QString& candidate : candidates) {
        if (QFileInfo(candidate).isFile())
            return QFileInfo(candidate).canonicalFilePath();
    }
    return {};
}
