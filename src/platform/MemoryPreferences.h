#pragma once

#include "platform/Preferences.h"

#include <QVariantMap>

// Preferences held in memory only: the stand-in until a real store is installed, and the
// store tests use.
class MemoryPreferences : public Preferences {
public:
    MemoryPreferences() = default;
    explicit MemoryPreferences(QVariantMap values) : m_values(std::move(values)) {}

    QVariant value(const QString& key) const override { return m_values.value(key); }
    void setValue(const QString& key, const QVariant& value) override;
    void remove(const QString& key) override { m_values.remove(key); }

    const QVariantMap& values() const { return m_values; }

private:
    QVariantMap m_values;
};
