#include "settings/AppSettings.h"

#include "platform/DefaultsKeys.h"
#include "platform/LoginItem.h"
#include "platform/UserDefaults.h"
#include "settings/SettingsLog.h"

QList<AppSettings::Appearance> AppSettings::allAppearances()
{
    return {Appearance::System, Appearance::Light, Appearance::Dark};
}

QString AppSettings::rawValue(Appearance appearance)
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

std::optional<AppSettings::Appearance> AppSettings::fromRawValue(const QString& raw)
{
    for (Appearance appearance : allAppearances()) {
        if (rawValue(appearance) == raw)
            return appearance;
    }
    return std::nullopt;
}

AppSettings::AppSettings(UserDefaults& defaults, LoginItem& loginItem, AppearanceApplier& applier, QObject* parent)
    : QObject(parent), m_defaults(defaults), m_loginItem(loginItem), m_applier(applier)
{
    const QVariant autoPopup = m_defaults.value(DefaultsKeys::autoPopup);
    if (autoPopup.typeId() == QMetaType::Bool)
        m_autoPopup = autoPopup.toBool();
    const QVariant appearance = m_defaults.value(DefaultsKeys::appearance);
    if (appearance.typeId() == QMetaType::QString)
        m_appearance = fromRawValue(appearance.toString()).value_or(Appearance::System);
    m_defaults.remove(DefaultsKeys::model);
}

AppSettings& AppSettings::shared()
{
    static AppSettings settings(UserDefaults::standard(), LoginItem::standard(), AppearanceApplier::standard());
    return settings;
}

void AppSettings::setAppearance(Appearance appearance)
{
    const bool changed = appearance != m_appearance;
    m_appearance = appearance;
    m_defaults.setValue(DefaultsKeys::appearance, rawValue(appearance));
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
    m_defaults.setValue(DefaultsKeys::autoPopup, autoPopup);
    if (changed)
        Q_EMIT autoPopupChanged();
}

bool AppSettings::launchAtLogin() const
{
    return m_loginItem.isEnabled();
}

void AppSettings::setLaunchAtLogin(bool launchAtLogin)
{
    QString error;
    const bool done = launchAtLogin ? m_loginItem.registerItem(&error) : m_loginItem.unregisterItem(&error);
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
