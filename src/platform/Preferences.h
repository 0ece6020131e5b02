#pragma once

#include <QString>
#include <QVariant>
#include <memory>

// A typed key-value store for the program's preferences. Values keep their type across a
// round trip: a bool reads back as a bool, a QString as a QString, a QByteArray as bytes,
// integers and doubles as numbers. A missing key reads as an invalid QVariant.
class Preferences {
public:
    virtual ~Preferences() = default;

    virtual QVariant value(const QString& key) const = 0;
    virtual void setValue(const QString& key, const QVariant& value) = 0;
    virtual void remove(const QString& key) = 0;
    bool contains(const QString& key) const { return value(key).isValid(); }

    // The process-wide store. Until one is installed, an in-memory store stands in.
    static Preferences& instance();
    // Installs the process-wide store (at start-up, or in a test).
    static void setInstance(std::unique_ptr<Preferences> store);
};
