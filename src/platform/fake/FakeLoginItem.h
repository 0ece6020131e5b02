#pragma once

#include "platform/LoginItem.h"

// A login item held in memory that can be told to refuse changes with a given reason.
class FakeLoginItem : public LoginItem {
public:
    bool isEnabled() const override { return m_enabled; }
    bool registerItem(QString* error = nullptr) override;
    bool unregisterItem(QString* error = nullptr) override;

    void setEnabled(bool enabled) { m_enabled = enabled; }
    // A non-empty reason makes every later change fail with it; an empty one accepts again.
    void setRefusal(const QString& reason) { m_refusal = reason; }

private:
    bool change(bool enabled, QString* error);

    bool m_enabled = false;
    QString m_refusal;
};
