#include "settings/WritingModeStore.h"

#include "platform/PreferenceKeys.h"
#include "platform/Preferences.h"
#include "settings/WritingModeRules.h"

#include <QJsonDocument>
#include <algorithm>

WritingModeStore::WritingModeStore(Preferences& defaults, QObject* parent) : QObject(parent), m_preferences(defaults)
{
    load();
}

WritingModeStore& WritingModeStore::shared()
{
    static WritingModeStore store(Preferences::instance());
    return store;
}

QString WritingModeStore::key()
{
    return PreferenceKeys::writingModes;
}

void WritingModeStore::save(const WritingMode& mode)
{
    const std::optional<WritingMode> stored = WritingModeRules::normalized(mode);
    if (!stored)
        return;
    auto existing =
        std::find_if(m_modes.begin(), m_modes.end(), [&](const WritingMode& m) { return m.id == stored->id; });
    const bool changed = existing == m_modes.end() || *existing != *stored;
    if (existing == m_modes.end())
        m_modes.append(*stored);
    else
        *existing = *stored;
    persist();
    if (changed)
        Q_EMIT modesChanged();
}

void WritingModeStore::remove(const WritingMode& mode)
{
    const qsizetype removed = m_modes.removeIf([&](const WritingMode& m) { return m.id == mode.id; });
    persist();
    if (removed > 0)
        Q_EMIT modesChanged();
}

void WritingModeStore::load()
{
    const QVariant stored = m_preferences.value(key());
    // The array is stored as data; text holding the same JSON (a hand-edited file) is read too.
    if (stored.typeId() != QMetaType::QByteArray && stored.typeId() != QMetaType::QString)
        return;
    const QJsonDocument document = QJsonDocument::fromJson(stored.toByteArray());
    // Each entry is read on its own: one entry this version cannot read (damaged, or
    // written by a newer version) must not hide, or later overwrite, all the others.
    for (const QJsonValue entry : document.array()) {
        const std::optional<WritingMode> mode = WritingMode::fromJson(entry.toObject());
        if (mode)
            m_modes.append(*mode);
        else
            m_unreadable.append(entry);
    }
}

void WritingModeStore::persist()
{
    QJsonArray array;
    for (const WritingMode& mode : std::as_const(m_modes))
        array.append(mode.toJson());
    for (const QJsonValue entry : std::as_const(m_unreadable))
        array.append(entry);
    m_preferences.setValue(key(), QJsonDocument(array).toJson(QJsonDocument::Compact));
}
