#pragma once

#include "platform/Preferences.h"

#include <QJsonObject>

class Clock;

// The preferences kept in one JSON file (normally $XDG_CONFIG_HOME/Halvora/Preferences.json),
// a JSON object from each key to its value in the form PreferenceJson gives it. The file is
// read once, when the store is made, and written whole and atomically on every change.
// Entries this version cannot decode read as missing but stay in the file.
// A file that cannot be parsed is renamed aside and the store starts empty; when it cannot
// be renamed, the store never writes, so the file is never overwritten. Main thread only.
class JsonFilePreferences : public Preferences {
public:
    explicit JsonFilePreferences(QString path, Clock* clock = nullptr);

    QVariant value(const QString& key) const override;
    void setValue(const QString& key, const QVariant& value) override;
    void remove(const QString& key) override;

    // The file of the running program, under the user's configuration folder.
    static QString defaultPath();

private:
    void load(Clock& clock);
    void write();

    QString m_path;
    QJsonObject m_entries;
    // False after an unreadable file could not be renamed aside.
    bool m_writable = true;
};
