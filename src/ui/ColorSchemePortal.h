#pragma once

#include <QDBusAbstractInterface>
#include <QDBusVariant>
#include <QObject>

class QDBusPendingCallWatcher;

// The desktop's colour-scheme preference, from the freedesktop settings portal
// (org.freedesktop.appearance color-scheme): read once when watching starts and followed
// through the portal's SettingChanged signal. Without a portal, or with no preference, the
// scheme reads as light. Never blocks: the read is an asynchronous call.
class ColorSchemePortal : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool prefersDark READ prefersDark NOTIFY prefersDarkChanged)

public:
    explicit ColorSchemePortal(QObject* parent = nullptr);

    // Starts the first read and the change watch; later calls do nothing.
    void watch();
    bool prefersDark() const { return m_prefersDark; }

    // The portal's value (1 prefers dark, 2 prefers light, 0 no preference), possibly wrapped in
    // one or two D-Bus variants as older portals answer; anything unreadable is not dark.
    static bool isDarkValue(const QVariant& value);

Q_SIGNALS:
    void prefersDarkChanged();

private:
    void readFinished(QDBusPendingCallWatcher* call);
    void settingChanged(const QString& group, const QString& key, const QDBusVariant& value);
    void setPrefersDark(bool dark);

    class Interface;
    Interface* m_interface = nullptr;
    bool m_prefersDark = false;
};

// The portal's Settings interface, declared so that its SettingChanged signal can be connected
// like any Qt signal.
class ColorSchemePortal::Interface : public QDBusAbstractInterface {
    Q_OBJECT

public:
    explicit Interface(QObject* parent);

Q_SIGNALS:
    void SettingChanged(const QString& group, const QString& key, const QDBusVariant& value);
};
