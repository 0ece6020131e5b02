#include "pill/RewriteMenuButton.h"

#include "settings/WritingModeStore.h"
#include "ui/Icons.h"
#include "ui/Mnemonics.h"
#include "ui/Theme.h"

#include <QKeyEvent>
#include <QMenu>
#include <QPainter>

RewriteMenuButton::RewriteMenuButton(WritingModeStore& modes, QWidget* parent)
    : PillButton(QStringLiteral("document-edit"), tr("Rewrite"),
                 tr("Rewrite the selection. Click for Improve writing, or open the menu for more styles."), parent),
      m_modes(modes), m_menu(new QMenu(this))
{
    setAccessibleName(tr("Rewrite"));
    setAccessibleDescription(tr("Opens rewrite styles for the selected text"));
    connect(this, &QAbstractButton::clicked, this,
            [this] { Q_EMIT actionRequested(AIAction::rewrite(RewriteStyle::Improve)); });
    connect(m_menu, &QMenu::aboutToHide, this, &RewriteMenuButton::menuClosed);
}

void RewriteMenuButton::rebuildMenu()
{
    m_menu->clear();
    const QColor color = Theme::text(Theme::isDark(palette()));
    for (const RewriteStyle style : RewriteStyle::all()) {
        QAction* item =
            m_menu->addAction(Icons::tinted(style.iconName(), color, color), Mnemonics::literal(style.title()));
        connect(item, &QAction::triggered, this, [this, style] { Q_EMIT actionRequested(AIAction::rewrite(style)); });
    }
    if (m_modes.modes().isEmpty())
        return;
    m_menu->addSection(tr("Your writing modes"));
    for (const WritingMode& mode : m_modes.modes()) {
        QAction* item =
            m_menu->addAction(Icons::tinted(QStringLiteral("text-check"), color, color), Mnemonics::literal(mode.name));
        connect(item, &QAction::triggered, this, [this, mode] { Q_EMIT actionRequested(AIAction::custom(mode)); });
    }
}

QMenu* RewriteMenuButton::menu()
{
    rebuildMenu();
    return m_menu;
}

void RewriteMenuButton::showMenu()
{
    menu()->popup(mapToGlobal(QPoint(0, height())));
}

void RewriteMenuButton::paintEvent(QPaintEvent* event)
{
    PillButton::paintEvent(event);
    QPainter painter(this);
    const int size = 10;
    const int left = width() - horizontalPadding - size;
    painter.drawPixmap(left, (height() - size) / 2,
                       Icons::pixmap(QStringLiteral("go-down"), size, foreground(), devicePixelRatioF()));
}

void RewriteMenuButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && onIndicator(event->position().toPoint())) {
        showMenu();
        return;
    }
    PillButton::mousePressEvent(event);
}

void RewriteMenuButton::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Down) {
        showMenu();
        return;
    }
    PillButton::keyPressEvent(event);
}
