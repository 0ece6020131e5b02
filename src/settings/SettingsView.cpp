#include "settings/SettingsView.h"

#include "selection/AccessibilityPermission.h"
#include "settings/AccessibilitySection.h"
#include "settings/BehaviorSection.h"
#include "settings/HistorySection.h"
#include "settings/WritingModesSection.h"

#include <QVBoxLayout>

SettingsView::SettingsView(Services services, QWidget* parent) : QScrollArea(parent), m_services(std::move(services))
{
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
    m_form = new QWidget(this);
    m_form->setBackgroundRole(QPalette::Window);
    auto* column = new QVBoxLayout(m_form);
    column->setContentsMargins(20, 20, 20, 20);
    column->setSpacing(16);
    m_accessibility = new AccessibilitySection(m_services.permission, m_services.accessibilityHelp, m_form);
    m_behavior = new BehaviorSection(m_services.settings, m_services.unavailableReason, m_form);
    m_writingModes = new WritingModesSection(m_services.modes, m_form);
    m_history = new HistorySection(m_services.history, m_form);
    for (QWidget* section : {static_cast<QWidget*>(m_accessibility), static_cast<QWidget*>(m_behavior),
                             static_cast<QWidget*>(m_writingModes), static_cast<QWidget*>(m_history)})
        column->addWidget(section);
    column->addStretch(1);
    setWidget(m_form);
    if (m_services.makeAccountSection)
        setAccountSection(m_services.makeAccountSection());
}

void SettingsView::setAccountSection(QWidget* section)
{
    auto* column = static_cast<QVBoxLayout*>(m_form->layout());
    section->setParent(m_form);
    column->insertWidget(1, section);
}

void SettingsView::showEvent(QShowEvent* event)
{
    QScrollArea::showEvent(event);
    m_services.permission.refresh();
    if (m_services.refreshAccount)
        m_services.refreshAccount();
}
