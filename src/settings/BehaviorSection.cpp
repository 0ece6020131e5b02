#include "settings/BehaviorSection.h"

#include "settings/AppSettings.h"
#include "settings/StatusColors.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

BehaviorSection::BehaviorSection(AppSettings& settings, const QString& unavailableReason, QWidget* parent)
    : SettingsSection(tr("Behavior"), parent), m_settings(settings)
{
    buildAppearance();
    m_autoPopup = new QCheckBox(tr("Show actions automatically when I select text"), this);
    column()->addWidget(m_autoPopup);
    if (!unavailableReason.isEmpty()) {
        QLabel* reason = addNote(unavailableReason);
        QPalette palette = reason->palette();
        palette.setColor(QPalette::WindowText, StatusColors::orange());
        reason->setPalette(palette);
        reason->setForegroundRole(QPalette::WindowText);
    }
    m_launchAtLogin = new QCheckBox(tr("Launch at login"), this);
    column()->addWidget(m_launchAtLogin);
    read();
    connect(m_autoPopup, &QCheckBox::toggled, &m_settings, &AppSettings::setAutoPopup);
    connect(m_launchAtLogin, &QCheckBox::toggled, &m_settings, &AppSettings::setLaunchAtLogin);
    connect(&m_settings, &AppSettings::appearanceChanged, this, &BehaviorSection::read);
    connect(&m_settings, &AppSettings::autoPopupChanged, this, &BehaviorSection::read);
    connect(&m_settings, &AppSettings::launchAtLoginRevisionChanged, this, &BehaviorSection::read);
}

void BehaviorSection::buildAppearance()
{
    auto* row = new QHBoxLayout;
    auto* label = new QLabel(tr("Appearance"), this);
    m_appearance = new QComboBox(this);
    m_appearance->setAccessibleName(tr("Appearance"));
    const QStringList labels{tr("Match System"), tr("Light"), tr("Dark")};
    const QList<AppSettings::Appearance> all = AppSettings::allAppearances();
    for (int i = 0; i < all.size(); ++i)
        m_appearance->addItem(labels.value(i), QVariant::fromValue(all[i]));
    row->addWidget(label);
    row->addStretch(1);
    row->addWidget(m_appearance);
    column()->addLayout(row);
    connect(m_appearance, &QComboBox::activated, this, [this](int index) {
        m_settings.setAppearance(m_appearance->itemData(index).value<AppSettings::Appearance>());
    });
}

void BehaviorSection::read()
{
    // Signals stay blocked while the controls take the stored values, so reading back never
    // writes; launch at login in particular is re-read from the desktop after every change.
    const QSignalBlocker blockPicker(m_appearance);
    const QSignalBlocker blockPopup(m_autoPopup);
    const QSignalBlocker blockLogin(m_launchAtLogin);
    m_appearance->setCurrentIndex(m_appearance->findData(QVariant::fromValue(m_settings.appearance())));
    m_autoPopup->setChecked(m_settings.autoPopup());
    m_launchAtLogin->setChecked(m_settings.launchAtLogin());
}
