#pragma once

#include "platform/UserDefaults.h"

#include <QVariantMap>

// Preferences held in memory only: the stand-in until a real store is installed, and the
// store tests use.
class MemoryUserDefaults : public UserDefaults {
public:
    MemoryUserDefaults() = default;
    explicit MemoryUserDefaults(QVariantMap values) : m_values(std::move(values)) {}

    QVariant value(const QString& key) const override { return m_values.value(key); }
    void setValue(const QString& key, const QVariant& value) override;
    void remove(const QString& key) override { m_values.remove(key); }

    const QVariantMap& values() const { return m_values; }

private:
    QVariantMap m_values;
};
