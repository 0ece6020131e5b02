#pragma once

#include "platform/Autostart.h"

// Launch at login through the desktop's autostart folder: the entry halvora.desktop in
// $XDG_CONFIG_HOME/autostart (normally ~/.config/autostart). Registering writes the entry,
// unregistering deletes it. The program counts as registered while the entry exists and
// does not say Hidden=true (the desktop's own way to switch an entry off).
class XdgAutostart : public Autostart {
public:
    // entryPath: where the entry lives; program: the executable the entry starts.
    XdgAutostart(QString entryPath, QString program);

    bool isEnabled() const override;
    bool enable(QString* error = nullptr) override;
    bool disable(QString* error = nullptr) override;

    // Where the running program's entry lives.
    static QString defaultEntryPath();
    // program as one argument of a desktop entry's Exec key, quoted and escaped as needed.
    static QString execArgument(const QString& program);

private:
    // The text of the entry that starts program.
    static QByteArray entryText(const QString& program);
    // Whether the [Desktop Entry] group of an entry's text sets Hidden=true.
    static bool isHidden(const QByteArray& entry);

    QString m_entryPath;
    QString m_program;
};
