#include "ui/AccessibleAnnouncement.h"

#include "ui/UiLog.h"

#include <QAccessible>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QVariantMap>
#include <QWidget>

namespace {

// The name Qt gives its connection to the accessibility bus, and the object paths it serves.
const QString accessibilityBus = QStringLiteral("a11y");
const QString objectPathPrefix = QStringLiteral("/org/a11y/atspi/accessible/");
const char* const lastMessageProperty = "halvoraLastAnnouncement";

void sendDescriptionChange(QWidget* widget, const QString& text)
{
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    if (!accessible)
        return;
    const QString path = objectPathPrefix + QString::number(QAccessible::uniqueId(accessible));
    QDBusMessage event = QDBusMessage::createSignal(path, QStringLiteral("org.a11y.atspi.Event.Object"),
                                                    QStringLiteral("PropertyChange"));
    event << QStringLiteral("accessible-description") << 0 << 0 << QVariant::fromValue(QDBusVariant(text))
          << QVariantMap();
    if (!QDBusConnection(accessibilityBus).send(event))
        qCWarning(uiLog) << "D-Bus: an announcement could not be sent to the accessibility bus";
}

// The widget an announcement from this source is spoken for: the focused one of its window.
QWidget* speaker(QWidget* source)
{
    QWidget* window = source->window();
    QWidget* focus = window->focusWidget();
    return focus ? focus : window;
}

} // namespace

QString AccessibleAnnouncement::lastMessage(const QWidget* window)
{
    return window->property(lastMessageProperty).toString();
}

// An empty text goes first, so that the same message twice is still a change to speak.
void AccessibleAnnouncement::announce(QWidget* source, const QString& message)
{
    if (!source)
        return;
    source->window()->setProperty(lastMessageProperty, message);
    if (!QAccessible::isActive() || message.isEmpty())
        return;
    QWidget* widget = speaker(source);
    sendDescriptionChange(widget, QString());
    sendDescriptionChange(widget, message);
}
