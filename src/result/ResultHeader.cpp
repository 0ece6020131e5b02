#include "result/ResultHeader.h"

#include "settings/WritingModeStore.h"
#include "ui/DecorativeAccessibility.h"
#include "ui/HeadingAccessibility.h"
#include "ui/Icons.h"
#include "ui/Mnemonics.h"
#include "ui/Theme.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QToolButton>

ResultHeader::ResultHeader(const AIAction& action, const QString& appName, WritingModeStore& modes, QWidget* parent)
    : QWidget(parent), m_action(action), m_modes(modes)
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(16, 30, 16, 10);
    row->setSpacing(8);
    m_icon = new QLabel;
    DecorativeAccessibility::hide(m_icon);
    m_icon->setAttribute(Qt::WA_TransparentForMouseEvents);
    row->addWidget(m_icon);
    row->addWidget(makeTitle(action));
    auto* from = new QLabel(tr("from %1").arg(appName));
    from->setForegroundRole(QPalette::PlaceholderText);
    row->addWidget(from);
    row->addStretch(1);
    m_continueButton = new QToolButton;
    m_continueButton->setAutoRaise(true);
    m_continueButton->setToolTip(tr("Continue in Halvora window"));
    m_continueButton->setAccessibleName(tr("Continue in the Halvora window"));
    connect(m_continueButton, &QToolButton::clicked, this, &ResultHeader::continueRequested);
    row->addWidget(m_continueButton);
    updateIcons();
}

void ResultHeader::setAction(const AIAction& action)
{
    if (action == m_action)
        return;
    m_action = action;
    if (m_styleButton) {
        m_styleButton->setText(Mnemonics::literal(action.title()));
        m_styleButton->setAccessibleName(tr("Rewrite style: %1").arg(action.title()));
    }
    updateIcons();
}

QWidget* ResultHeader::makeTitle(const AIAction& action)
{
    QFont headline = font();
    headline.setWeight(QFont::DemiBold);
    if (!action.isRewriting()) {
        auto* title = new QLabel(action.title());
        title->setFont(headline);
        HeadingAccessibility::mark(title);
        return title;
    }
    m_styleButton = new QToolButton;
    m_styleButton->setText(Mnemonics::literal(action.title()));
    m_styleButton->setFont(headline);
    m_styleButton->setAutoRaise(true);
    m_styleButton->setPopupMode(QToolButton::InstantPopup);
    m_styleButton->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_styleButton->setAccessibleName(tr("Rewrite style: %1").arg(action.title()));
    m_styleButton->setAccessibleDescription(tr("Choose a different rewrite style"));
    auto* menu = new QMenu(m_styleButton);
    connect(menu, &QMenu::aboutToShow, this, &ResultHeader::fillStyleMenu);
    m_styleButton->setMenu(menu);
    fillStyleMenu();
    return m_styleButton;
}

void ResultHeader::fillStyleMenu()
{
    QMenu* menu = m_styleButton->menu();
    menu->clear();
    for (const RewriteStyle style : RewriteStyle::all()) {
        connect(menu->addAction(Mnemonics::literal(style.title())), &QAction::triggered, this,
                [this, style] { Q_EMIT rewriteRequested(AIAction::rewrite(style)); });
    }
    if (m_modes.modes().isEmpty())
        return;
    menu->addSeparator();
    for (const WritingMode& mode : m_modes.modes()) {
        connect(menu->addAction(Mnemonics::literal(mode.name)), &QAction::triggered, this,
                [this, mode] { Q_EMIT rewriteRequested(AIAction::custom(mode)); });
    }
}

void ResultHeader::updateIcons()
{
    const bool dark = Theme::isDark(palette());
    m_icon->setPixmap(Icons::pixmap(m_action.iconName(), 16, Theme::accent(dark), devicePixelRatioF()));
    const QColor secondary = Theme::secondaryText(dark);
    m_continueButton->setIcon(Icons::tinted(QStringLiteral("window-new"), secondary, secondary));
}

void ResultHeader::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange)
        updateIcons();
    QWidget::changeEvent(event);
}
