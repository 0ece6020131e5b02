#include "settings/AccessibilitySection.h"

#include "common/Wording.h"
#include "selection/AccessibilityPermission.h"
#include "selection/ApplicationReach.h"
#include "settings/StatusColors.h"
#include "ui/Icons.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

AccessibilitySection::AccessibilitySection(AccessibilityPermission& permission, const QString& helpText,
                                           QWidget* parent)
    : SettingsSection(tr("Accessibility"), parent), m_permission(permission)
{
    column()->addWidget(statusRow());
    m_explanation = addNote(Wording::text(Wording::Text::AccessibilityExplanation));
    m_switchOn = new QCheckBox(tr("Turn on the desktop’s accessibility support when Halvora starts"), this);
    m_switchOn->setChecked(m_permission.switchesOn());
    column()->addWidget(m_switchOn);
    addNote(tr("Applications show their text to Halvora only while it is on. It is the switch screen readers "
               "use too: it applies to your whole desktop, and Halvora never turns it off. Applications that "
               "were already open show their text once restarted."),
            true);
    m_open = new QPushButton(tr("Open Accessibility Settings…"), this);
    column()->addWidget(m_open, 0, Qt::AlignLeft);
    if (!helpText.isEmpty())
        addNote(helpText, true);
    m_reach = addNote(QString(), true);
    // Application names come from other programs: shown as written, never as markup.
    m_reach->setTextFormat(Qt::PlainText);
    connect(m_open, &QPushButton::clicked, &m_permission, &AccessibilityPermission::openSystemSettings);
    connect(m_switchOn, &QCheckBox::toggled, &m_permission, &AccessibilityPermission::setSwitchesOn);
    connect(&m_permission, &AccessibilityPermission::switchesOnChanged, m_switchOn, &QCheckBox::setChecked);
    connect(&m_permission, &AccessibilityPermission::grantedChanged, this, &AccessibilitySection::update);
    update();
}

QWidget* AccessibilitySection::statusRow()
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(tr("Status"), row));
    layout->addStretch(1);
    m_statusValue = new QWidget(row);
    auto* value = new QHBoxLayout(m_statusValue);
    value->setContentsMargins(0, 0, 0, 0);
    value->setSpacing(6);
    m_statusIcon = new QLabel(m_statusValue);
    m_status = new QLabel(m_statusValue);
    value->addWidget(m_statusIcon);
    value->addWidget(m_status);
    layout->addWidget(m_statusValue);
    return row;
}

QString AccessibilitySection::reachText() const
{
    return m_reach->text();
}

void AccessibilitySection::showEvent(QShowEvent* event)
{
    SettingsSection::showEvent(event);
    updateReach();
}

// Asked of the desktop when the form is shown: a short list, never watched while hidden.
void AccessibilitySection::updateReach()
{
    QStringList lines;
    for (const ApplicationReach& application : ApplicationReach::now()) {
        lines << (application.throughAccessibility ? tr("%1: its text, where it lies, and Replace")
                                                   : tr("%1: the text through the primary selection only"))
                     .arg(application.name);
    }
    m_reach->setText(lines.isEmpty() ? QString() : tr("Open now:") + QLatin1Char('\n') + lines.join(QLatin1Char('\n')));
    m_reach->setVisible(!lines.isEmpty());
}

QString AccessibilitySection::statusText() const
{
    return m_status->text();
}

void AccessibilitySection::update()
{
    const bool trusted = m_permission.isGranted();
    m_status->setText(trusted ? tr("Granted") : tr("Not granted"));
    const QString iconName = trusted ? QStringLiteral("check-circle-filled") : QStringLiteral("dialog-warning");
    const QColor colour = trusted ? StatusColors::green() : StatusColors::orange();
    m_statusIcon->setPixmap(Icons::pixmap(iconName, 16, colour, devicePixelRatioF()));
    // The icon says nothing the text does not; the pair reads as one value.
    m_statusValue->setAccessibleName(tr("Status: ") + m_status->text());
    m_explanation->setVisible(!trusted);
    m_open->setVisible(!trusted);
}
