#pragma once

#include "platform/PreferredLanguages.h"

// Preferred languages set by a test.
class FakePreferredLanguages : public PreferredLanguages {
public:
    explicit FakePreferredLanguages(QStringList languages = {}) : m_languages(std::move(languages)) {}

    QStringList languages() const override { return m_languages; }
    void setLanguages(QStringList languages) { m_languages = std::move(languages); }

private:
    QStringList m_languages;
};
