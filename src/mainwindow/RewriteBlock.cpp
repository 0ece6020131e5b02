#include "mainwindow/RewriteBlock.h"

#include "ui/HeadingAccessibility.h"
#include "ui/Icons.h"
#include "ui/Theme.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

RewriteBlock::RewriteBlock(const QString& title, const QString& text, bool emphasised, QWidget* parent)
    : QWidget(parent), m_title(title), m_text(text), m_emphasised(emphasised)
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(8);
    auto* header = new QHBoxLayout;
    auto* heading = new QLabel(title, this);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    HeadingAccessibility::mark(heading);
    header->addWidget(heading);
    header->addStretch(1);
    m_copy = new QToolButton(this);
    m_copy->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_copy->setAccessibleName(tr("Copy ") + title);
    header->addWidget(m_copy);
    column->addLayout(header);
    m_body = new QLabel(text, this);
    m_body->setObjectName(QStringLiteral("rewriteBlockBody"));
    m_body->setTextFormat(Qt::PlainText);
    m_body->setWordWrap(true);
    m_body->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_body->setMargin(14);
    column->addWidget(m_body);
    connect(m_copy, &QToolButton::clicked, this, &RewriteBlock::copyRequested);
    restyle();
}

void RewriteBlock::setCopied(bool copied)
{
    m_copied = copied;
    restyle();
}

void RewriteBlock::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        restyle();
}

void RewriteBlock::restyle()
{
    const bool dark = Theme::isDark(palette());
    const QString iconName = m_copied ? QStringLiteral("object-select") : QStringLiteral("edit-copy");
    m_copy->setText(m_copied ? tr("Copied") : tr("Copy"));
    m_copy->setIcon(Icons::tinted(iconName, Theme::secondaryText(dark), Theme::border(dark), 14));
    const QString fill = m_emphasised ? Theme::surface(dark).name() : QStringLiteral("transparent");
    const QString ink = (m_emphasised ? Theme::text(dark) : Theme::secondaryText(dark)).name();
    m_body->setStyleSheet(QStringLiteral("#rewriteBlockBody { background: %1; color: %2; border: 1px solid %3; "
                                         "border-radius: 8px; }")
                              .arg(fill, ink, Theme::border(dark).name()));
}
