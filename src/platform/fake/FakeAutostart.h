#pragma once

#include "platform/Autostart.h"

// A autostart entry held in memory that can be told to refuse changes with a given reason.
class FakeAutostart : public Autostart {
public:
    bool isEnabled() const override { return m_enabled; }
    bool enable(QString* error = nullptr) override;
    bool disable(QString* error = nullptr) override;

    void setEnabled(bool enabled) { m_enabled = enabled; }
    // A non-empty reason makes every later change fail with it; an empty one accepts again.
    void setRefusal(const QString& reason) { m_refusal = reason; }

private:
    bool change(bool enabled, QString* error);

    bool m_enabled = false;
    QString m_refusal;
};
