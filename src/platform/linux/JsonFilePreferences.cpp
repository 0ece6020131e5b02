#include "platform/linux/JsonFilePreferences.h"

#include "common/SafeFile.h"
#include "platform/Clock.h"
#include "platform/PlatformLog.h"
#include "platform/linux/PreferenceJson.h"

#include <QFile>
#include <QJsonDocument>
#include <QStandardPaths>

JsonFilePreferences::JsonFilePreferences(QString path, Clock* clock) : m_path(std::move(path))
{
    load(clock ? *clock : Clock::system());
}

QString JsonFilePreferences::defaultPath()
{
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return config + QStringLiteral("/Halvora/Preferences.json");
}

QVariant JsonFilePreferences::value(const QString& key) const
{
    return PreferenceJson::decode(m_entries.value(key));
}

void JsonFilePreferences::setValue(const QString& key, const QVariant& value)
{
    const QJsonValue json = PreferenceJson::encode(value);
    if (json.isUndefined()) {
        remove(key);
        return;
    }
    if (m_entries.value(key) == json)
        return;
    m_entries.insert(key, json);
    write();
}

void JsonFilePreferences::remove(const QString& key)
{
    if (!m_entries.contains(key))
        return;
    m_entries.remove(key);
    write();
}

void JsonFilePreferences::load(Clock& clock)
{
    QFile file(m_path);
    if (!file.exists())
        return;
    QJsonParseError error{};
    const QJsonDocument document =
        file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll(), &error) : QJsonDocument();
    file.close();
    if (document.isObject()) {
        m_entries = document.object();
        return;
    }
    // Keep the unreadable file for the user; without that, never write over it.
    const QString aside = SafeFile::moveAside(m_path, clock.now());
    m_writable = !aside.isEmpty();
    if (m_writable)
        qCWarning(platformLog) << "The preferences file could not be read; it was kept as" << aside;
    else
        qCWarning(platformLog)
            << "The preferences file could not be read nor moved aside; preferences will not be saved:" << m_path;
}

void JsonFilePreferences::write()
{
    // A failed write leaves the change in memory; the next change writes every entry again.
    if (!m_writable)
        return;
    QString error;
    if (!SafeFile::writeAtomically(m_path, QJsonDocument(m_entries).toJson(QJsonDocument::Indented), &error))
        qCWarning(platformLog).noquote() << "Could not write the preferences to" << m_path + QStringLiteral(":")
                                         << error;
}
