#include "settings/SettingsSection.h"

#include <QLabel>
#include <QVBoxLayout>

SettingsSection::SettingsSection(const QString& title, QWidget* parent)
    : QGroupBox(title, parent), m_column(new QVBoxLayout(this))
{
    m_column->setSpacing(8);
}

QLabel* SettingsSection::addNote(const QString& text, bool caption)
{
    QLabel* label = note(text, caption, this);
    m_column->addWidget(label);
    return label;
}

QLabel* SettingsSection::note(const QString& text, bool caption, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * (caption ? 0.85 : 0.93));
    label->setFont(font);
    label->setForegroundRole(QPalette::PlaceholderText);
    return label;
}
