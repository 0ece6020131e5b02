#pragma once

#include "platform/AppearanceApplier.h"

#include <QList>
#include <QObject>
#include <optional>

class Autostart;
class Preferences;

// The user's general preferences: the colour appearance, whether the action pill pops up on
// every new selection, and whether the program starts at login. Appearance and automatic
// pop-up are kept in the preferences and written at every change; launch at login is
// only ever the desktop's own registration, asked for each time it is read. Main thread only.
class AppSettings : public QObject {
    Q_OBJECT
    Q_PROPERTY(Appearance appearance READ appearance WRITE setAppearance NOTIFY appearanceChanged)
    Q_PROPERTY(bool autoPopup READ autoPopup WRITE setAutoPopup NOTIFY autoPopupChanged)
    Q_PROPERTY(bool launchAtLogin READ launchAtLogin WRITE setLaunchAtLogin NOTIFY launchAtLoginRevisionChanged)
    Q_PROPERTY(int launchAtLoginRevision READ launchAtLoginRevision NOTIFY launchAtLoginRevisionChanged)

public:
    // Listed in this order; each has a raw value, the text stored under "appearance".
    enum class Appearance { System, Light, Dark };
    Q_ENUM(Appearance)

    static QList<Appearance> allAppearances();
    static QString toString(Appearance appearance);
    static std::optional<Appearance> fromString(const QString& raw);

    // Reads the stored preferences and removes the obsolete "model" key. Does not apply the
    // appearance: the program calls applyAppearance() once at launch.
    AppSettings(Preferences& defaults, Autostart& autostart, AppearanceApplier& applier, QObject* parent = nullptr);

    // The program's instance, made on first use with the installed platform services.
    static AppSettings& shared();

    Appearance appearance() const { return m_appearance; }
    // Stores the raw value and applies it, every time it is called.
    void setAppearance(Appearance appearance);
    void applyAppearance();

    bool autoPopup() const { return m_autoPopup; }
    void setAutoPopup(bool autoPopup);

    bool launchAtLogin() const;
    // Registers or unregisters; a refusal is logged, never shown. Either way the revision
    // goes up so that views read the real state again.
    void setLaunchAtLogin(bool launchAtLogin);
    int launchAtLoginRevision() const { return m_launchAtLoginRevision; }

Q_SIGNALS:
    void appearanceChanged();
    void autoPopupChanged();
    void launchAtLoginRevisionChanged();

private:
    static AppearanceApplier::Scheme scheme(Appearance appearance);

    Preferences& m_preferences;
    Autostart& m_autostart;
    AppearanceApplier& m_applier;
    Appearance m_appearance = Appearance::System;
    bool m_autoPopup = true;
    int m_launchAtLoginRevision = 0;
};
