#pragma once

#include "actions/WritingMode.h"

#include <QJsonArray>
#include <QList>
#include <QObject>

class Preferences;

// The user's writing modes, in the order they were added, kept in the preferences under
// "writingModes" as one JSON array of {"id", "name", "instructions"} objects. Loaded once at
// creation and stored again after every save or removal. Entries of the stored array that
// cannot be read are kept as they are, after the modes, so saving never destroys them.
// Main thread only.
class WritingModeStore : public QObject {
    Q_OBJECT
    Q_PROPERTY(QList<WritingMode> modes READ modes NOTIFY modesChanged)

public:
    explicit WritingModeStore(Preferences& defaults, QObject* parent = nullptr);

    // The program's store, made on first use with the installed preferences.
    static WritingModeStore& shared();
    // The user-defaults key of the stored array.
    static QString key();
    // The four starting points offered for a new mode; their ids are made once per run.
    static const QList<WritingMode>& templates();

    const QList<WritingMode>& modes() const { return m_modes; }

    // Trims the name and instructions and cuts the instructions to 6000 characters; then
    // replaces the mode with the same id in place, or appends it. A mode whose name or
    // instructions are blank is ignored.
    void save(const WritingMode& mode);
    // Removes every mode with the id of the given one. ("delete" is reserved in C++.)
    void remove(const WritingMode& mode);

Q_SIGNALS:
    void modesChanged();

private:
    void load();
    void persist();

    Preferences& m_preferences;
    QList<WritingMode> m_modes;
    QJsonArray m_unreadable;
};
