#include "ui/ColorSchemePortal.h"

#include "ui/UiLog.h"

#include <QDBusConnection>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace {
const QString group = QStringLiteral("org.freedesktop.appearance");
const QString key = QStringLiteral("color-scheme");
} // namespace

ColorSchemePortal::Interface::Interface(QObject* parent)
    : QDBusAbstractInterface(QStringLiteral("org.freedesktop.portal.Desktop"),
                             QStringLiteral("/org/freedesktop/portal/desktop"), "org.freedesktop.portal.Settings",
                             QDBusConnection::sessionBus(), parent)
{}

ColorSchemePortal::ColorSchemePortal(QObject* parent) : QObject(parent) {}

void ColorSchemePortal::watch()
{
    if (m_interface)
        return;
    m_interface = new Interface(this);
    connect(m_interface, &Interface::SettingChanged, this, &ColorSchemePortal::settingChanged);
    auto* call = new QDBusPendingCallWatcher(m_interface->asyncCall(QStringLiteral("Read"), group, key), this);
    connect(call, &QDBusPendingCallWatcher::finished, this, &ColorSchemePortal::readFinished);
}

bool ColorSchemePortal::isDarkValue(const QVariant& value)
{
    QVariant inner = value;
    for (int depth = 0; depth < 2 && inner.metaType() == QMetaType::fromType<QDBusVariant>(); ++depth)
        inner = inner.value<QDBusVariant>().variant();
    bool ok = false;
    const uint scheme = inner.toUInt(&ok);
    return ok && scheme == 1;
}

void ColorSchemePortal::readFinished(QDBusPendingCallWatcher* call)
{
    const QDBusPendingReply<QVariant> reply = *call;
    call->deleteLater();
    if (reply.isError()) {
        qCWarning(uiLog).noquote() << "D-Bus: reading the color scheme from the desktop portal failed:"
                                   << reply.error().message();
        return;
    }
    setPrefersDark(isDarkValue(reply.value()));
}

void ColorSchemePortal::settingChanged(const QString& changedGroup, const QString& changedKey,
                                       const QDBusVariant& value)
{
    if (changedGroup == group && changedKey == key)
        setPrefersDark(isDarkValue(value.variant()));
}

void ColorSchemePortal::setPrefersDark(bool dark)
{
    if (m_prefersDark == dark)
        return;
    m_prefersDark = dark;
    Q_EMIT prefersDarkChanged();
}
