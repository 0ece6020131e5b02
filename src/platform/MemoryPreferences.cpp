#include "platform/MemoryPreferences.h"

void MemoryPreferences::setValue(const QString& key, const QVariant& value)
{
    if (value.isValid())
        m_values.insert(key, value);
    else
        m_values.remove(key);
}
