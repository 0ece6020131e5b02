#include "settings/HistorySection.h"

#include "common/Wording.h"
#include "history/HistoryStore.h"

#include <QCheckBox>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

using Wording::Text;

HistorySection::HistorySection(HistoryStore& store, QWidget* parent)
    : SettingsSection(tr("History"), parent), m_store(store)
{
    m_save = new QCheckBox(Wording::text(Text::SaveHistorySwitch), this);
    column()->addWidget(m_save);
    addNote(Wording::text(Text::HistoryKeptLocallyNote), true);
    m_clear = new QPushButton(tr("Clear History…"), this);
    column()->addWidget(m_clear, 0, Qt::AlignLeft);
    connect(m_save, &QCheckBox::toggled, &m_store, &HistoryStore::setEnabled);
    connect(m_clear, &QPushButton::clicked, this, &HistorySection::confirmClear);
    connect(&m_store, &HistoryStore::isEnabledChanged, this, &HistorySection::update);
    connect(&m_store, &HistoryStore::conversationsChanged, this, &HistorySection::update);
    update();
}

void HistorySection::update()
{
    const QSignalBlocker block(m_save);
    m_save->setChecked(m_store.isEnabled());
    m_clear->setEnabled(!m_store.conversations().isEmpty());
}

void HistorySection::confirmClear()
{
    if (m_confirmation)
        return;
    auto* box = new QMessageBox(QMessageBox::Warning, Wording::text(Text::ClearHistoryConfirmationTitle),
                                tr("This removes every saved rewrite, answer and chat. It can't be undone."),
                                QMessageBox::Cancel, window());
    box->setInformativeText(QString());
    QPushButton* clear = box->addButton(tr("Clear History"), QMessageBox::DestructiveRole);
    box->setDefaultButton(QMessageBox::Cancel);
    box->setAttribute(Qt::WA_DeleteOnClose);
    // The dialog's title bar may not be shown by every window manager, so the title is
    // also its first line.
    box->setText(
        QStringLiteral("<b>%1</b><br>%2").arg(box->windowTitle().toHtmlEscaped(), box->text().toHtmlEscaped()));
    connect(box, &QMessageBox::buttonClicked, this, [this, clear](QAbstractButton* button) {
        if (button == clear)
            m_store.clearAll();
    });
    m_confirmation = box;
    box->open();
}
