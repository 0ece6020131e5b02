#include "settings/AppSettings.h"

#include "platform/Autostart.h"
#include "platform/PreferenceKeys.h"
#include "platform/Preferences.h"
#include "settings/SettingsLog.h"

QList<AppSettings::Appearance> AppSettings::allAppearances()
{
    return {Appearance::System, Appearance::Light, Appearance::Dark};
}

QString AppSettings::toString(Appearance appearance)
{
    switch (appearance) {
    case Appearance::Light:
        return QStringLiteral("light");
    case Appearance::Dark:
        return QStringLiteral("dark");
    case Appearance::System:
        break;
    }
    return QStringLiteral("system");
}

std::optional<AppSettings::Appearance> AppSettings::fromString(const QString& raw)
{
    for (Appearance appearance : allAppearances()) {
        if (toString(appearance) == raw)
            return appearance;
    }
    return std::nullopt;
}

AppSettings::AppSettings(Preferences& defaults, Autostart& autostart, AppearanceApplier& applier, QObject* parent)
    : QObject(parent), m_preferences(defaults), m_autostart(autostart), m_applier(applier)
{
    const QVariant autoPopup = m_preferences.value(PreferenceKeys::autoPopup);
    if (autoPopup.typeId() == QMetaType::Bool)
        m_autoPopup = autoPopup.toBool();
    const QVariant appearance = m_preferences.value(PreferenceKeys::appearance);
    if (appearance.typeId() == QMetaType::QString)
        m_appearance = fromString(appearance.toString()).value_or(Appearance::System);
    m_preferences.remove(PreferenceKeys::model);
}

AppSettings& AppSettings::shared()
{
    static AppSettings settings(Preferences::instance(), Autostart::instance(), AppearanceApplier::instance());
    return settings;
}

void AppSettings::setAppearance(Appearance appearance)
{
    const bool changed = appearance != m_appearance;
    m_appearance = appearance;
    m_preferences.setValue(PreferenceKeys::appearance, toString(appearance));
    applyAppearance();
    if (changed)
        Q_EMIT appearanceChanged();
}

void AppSettings::applyAppearance()
{
    m_applier.apply(scheme(m_appearance));
}

void AppSettings::setAutoPopup(bool autoPopup)
{
    const bool changed = autoPopup != m_autoPopup;
    m_autoPopup = autoPopup;
    m_preferences.setValue(PreferenceKeys::autoPopup, autoPopup);
    if (changed)
        Q_EMIT autoPopupChanged();
}

bool AppSettings::launchAtLogin() const
{
    return m_autostart.isEnabled();
}

void AppSettings::setLaunchAtLogin(bool launchAtLogin)
{
    QString error;
    const bool done = launchAtLogin ? m_autostart.enable(&error) : m_autostart.disable(&error);
    if (!done)
        qCWarning(settingsLog).noquote() << QStringLiteral("Launch at login change failed: ") + error;
    ++m_launchAtLoginRevision;
    Q_EMIT launchAtLoginRevisionChanged();
}

AppearanceApplier::Scheme AppSettings::scheme(Appearance appearance)
{
    switch (appearance) {
    case Appearance::Light:
        return AppearanceApplier::Scheme::Light;
    case Appearance::Dark:
        return AppearanceApplier::Scheme::Dark;
    case Appearance::System:
        break;
    }
    return AppearanceApplier::Scheme::FollowSystem;
}
