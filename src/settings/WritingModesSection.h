#pragma once

#include "settings/SettingsSection.h"
#include "settings/WritingModeEditor.h"

#include <QPointer>

class WritingModeStore;

// The settings section that lists the user's writing modes with Edit… and delete buttons, and
// the "Add Writing Mode" menu (a blank mode or a copy of a template). Editing opens the modal
// editor; saving goes to the store, which the list follows.
class WritingModesSection : public SettingsSection {
    Q_OBJECT
public:
    explicit WritingModesSection(WritingModeStore& store, QWidget* parent = nullptr);

    // The editor while it is open.
    WritingModeEditor* editor() const { return m_editor; }
    void edit(const WritingMode& mode);

private:
    void rebuild();
    QWidget* row(const WritingMode& mode);
    QWidget* addButton();

    WritingModeStore& m_store;
    QWidget* m_list = nullptr;
    QPointer<WritingModeEditor> m_editor;
};
