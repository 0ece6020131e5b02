#include "settings/WritingModesSection.h"

#include "settings/WritingModeEditor.h"
#include "settings/WritingModeStore.h"
#include "ui/Icons.h"
#include "ui/Mnemonics.h"

#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QString firstNonEmptyLine(const QString& text)
{
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        if (!line.trimmed().isEmpty())
            return line.trimmed();
    }
    return {};
}

WritingMode freshCopy(WritingMode mode)
{
    mode.id = QUuid::createUuid();
    return mode;
}

} // namespace

WritingModesSection::WritingModesSection(WritingModeStore& store, QWidget* parent)
    : SettingsSection(tr("Writing modes"), parent), m_store(store)
{
    m_list = new QWidget(this);
    auto* listLayout = new QVBoxLayout(m_list);
    listLayout->setContentsMargins(0, 0, 0, 0);
    column()->addWidget(m_list);
    column()->addWidget(addButton(), 0, Qt::AlignLeft);
    connect(&m_store, &WritingModeStore::modesChanged, this, &WritingModesSection::rebuild);
    rebuild();
}

void WritingModesSection::rebuild()
{
    auto* layout = static_cast<QVBoxLayout*>(m_list->layout());
    // Rows go later, not at once: a row's own delete button may be what changed the list.
    while (QLayoutItem* item = layout->takeAt(0)) {
        item->widget()->hide();
        item->widget()->deleteLater();
        delete item;
    }
    if (m_store.modes().isEmpty()) {
        layout->addWidget(note(tr("Add your own rewrite rules, such as your team's style guide or a language "
                                  "policy. They appear in the Rewrite menu."),
                               false, m_list));
    }
    for (const WritingMode& mode : m_store.modes())
        layout->addWidget(row(mode));
}

QWidget* WritingModesSection::row(const WritingMode& mode)
{
    auto* row = new QWidget(m_list);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    texts->addWidget(new QLabel(mode.name, row));
    QLabel* firstLine = note(firstNonEmptyLine(mode.instructions), true, row);
    firstLine->setWordWrap(false);
    texts->addWidget(firstLine);
    layout->addLayout(texts, 1);
    auto* edit = new QPushButton(tr("Edit…"), row);
    edit->setAccessibleName(tr("Edit ") + mode.name);
    auto* remove = new QToolButton(row);
    remove->setAutoRaise(true);
    remove->setIcon(Icons::tinted(QStringLiteral("trash"), QColor(0xE5, 0x48, 0x4D), Qt::gray));
    remove->setAccessibleName(tr("Delete ") + mode.name);
    remove->setToolTip(tr("Delete ") + mode.name);
    layout->addWidget(edit);
    layout->addWidget(remove);
    connect(edit, &QPushButton::clicked, this, [this, mode] { this->edit(mode); });
    connect(remove, &QToolButton::clicked, this, [this, mode] { m_store.remove(mode); });
    return row;
}

QWidget* WritingModesSection::addButton()
{
    auto* button = new QPushButton(tr("Add Writing Mode"), this);
    auto* menu = new QMenu(button);
    menu->addAction(tr("Blank"), this, [this] { edit(WritingMode{}); });
    menu->addSection(tr("Start from a template"));
    for (const WritingMode& mode : WritingModeStore::templates())
        menu->addAction(Mnemonics::literal(mode.name), this, [this, mode] { edit(freshCopy(mode)); });
    button->setMenu(menu);
    return button;
}

void WritingModesSection::edit(const WritingMode& mode)
{
    if (m_editor)
        m_editor->close();
    m_editor = new WritingModeEditor(mode, window());
    m_editor->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_editor, &WritingModeEditor::saved, this, [this](const WritingMode& edited) { m_store.save(edited); });
    m_editor->open();
}
