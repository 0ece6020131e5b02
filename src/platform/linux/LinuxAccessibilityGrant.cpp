#include "platform/linux/LinuxAccessibilityGrant.h"

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
    QDBusMessage message = QDBusMessage::createMethodCall(
        QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
        QStringLiteral("org.freedesktop.DBus.Properties"), method);
    message << QStringLiteral("org.a11y.Status") << QStringLiteral("IsEnabled");
    return message;
}

} // namespace

bool LinuxAccessibilityGrant::isTrusted()
{
    const QDBusMessage reply =
        QDBusConnection::sessionBus().call(statusCall(QStringLiteral("Get")), QDBus::Block, busTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return false;
    return reply.arguments().first().value<QDBusVariant>().variant().toBool();
}

// Applications already running keep what they had at their start (Qt ones expose nothing until
// restarted); those started from now on expose their text.
void LinuxAccessibilityGrant::requestGrant()
{
    QDBusMessage message = statusCall(QStringLiteral("Set"));
    message << QVariant::fromValue(QDBusVariant(true));
    QDBusConnection::sessionBus().send(message);
}

bool LinuxAccessibilityGrant::openSettings()
{
    const QStringList command = settingsCommand(qEnvironmentVariable("XDG_CURRENT_DESKTOP"));
    if (!command.isEmpty() && QProcess::startDetached(command.first(), command.mid(1)))
        return true;
    const QString help = helpFile();
    return !help.isEmpty() && QDesktopServices::openUrl(QUrl::fromLocalFile(help));
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
