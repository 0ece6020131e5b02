#include "pill/ActionPillView.h"

#include "actions/Translation.h"
#include "common/KeyboardGrab.h"
#include "pill/PillButton.h"
#include "pill/RewriteMenuButton.h"
#include "ui/Theme.h"

#include <QAccessible>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>

ActionPillView::ActionPillView(bool isEditable, bool canPaste, WritingModeStore& modes, QWidget* parent)
    : QWidget(parent), m_isEditable(isEditable)
{
    setAccessibleName(tr("Halvora actions"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(4, 4, 4, 4);
    row->setSpacing(2);
    if (isEditable) {
        auto* rewrite = new RewriteMenuButton(modes);
        connect(rewrite, &RewriteMenuButton::actionRequested, this, &ActionPillView::actionRequested);
        connect(rewrite, &RewriteMenuButton::menuClosed, this, &ActionPillView::resumeKeyboardUse);
        row->addWidget(rewrite);
    } else
        addReadOnlyActions();
    addDivider();
    addActionButton(AIAction::ask(), tr("Ask AI"), tr("Ask a question about the selected text"));
    addDivider();
    addCopyAndPaste(canPaste);
    row->setSizeConstraint(QLayout::SetFixedSize);
}

void ActionPillView::addReadOnlyActions()
{
    addActionButton(AIAction::explain(), tr("Explain"), tr("Explain the selected text"));
    // The title is read first: lupdate takes "translate(" in the same statement for a translation call.
    const QString translateTitle = tr("Translate");
    addActionButton(AIAction::translate(), translateTitle,
                    tr("Translate the selected text into %1").arg(Translation::targetLanguage()));
    addActionButton(AIAction::research(), tr("Research"), tr("Research the selected text on the web"));
    addActionButton(AIAction::webSearch(), tr("Search"), tr("Search the web for the selected text"));
}

void ActionPillView::addActionButton(const AIAction& action, const QString& title, const QString& help)
{
    auto* button = new PillButton(action.iconName(), title, help);
    connect(button, &QAbstractButton::clicked, this, [this, action] { Q_EMIT actionRequested(action); });
    layout()->addWidget(button);
}

void ActionPillView::addDivider()
{
    auto* divider = new QFrame;
    divider->setObjectName(QStringLiteral("divider"));
    divider->setFixedSize(1 + 2 * 2, 16);
    layout()->addWidget(divider);
}

void ActionPillView::addCopyAndPaste(bool canPaste)
{
    m_copyButton = new PillButton(QStringLiteral("edit-copy"), QString(), tr("Copy the selected text"));
    m_copyButton->setAccessibleName(tr("Copy"));
    connect(m_copyButton, &QAbstractButton::clicked, this, [this] {
        Q_EMIT copyRequested();
        markCopied();
    });
    layout()->addWidget(m_copyButton);
    if (!m_isEditable)
        return;
    auto* paste =
        new PillButton(QStringLiteral("edit-paste"), QString(), tr("Paste the clipboard over the selected text"));
    paste->setAccessibleName(tr("Paste"));
    paste->setEnabled(canPaste);
    connect(paste, &QAbstractButton::clicked, this, &ActionPillView::pasteRequested);
    layout()->addWidget(paste);
}

void ActionPillView::markCopied()
{
    m_copied = true;
    m_copyButton->setIconName(QStringLiteral("object-select"));
    m_copyButton->setAccessibleName(tr("Copied"));
    QAccessibleEvent nameChanged(m_copyButton, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&nameChanged);
}

void ActionPillView::paintEvent(QPaintEvent*)
{
    const bool dark = Theme::isDark(palette());
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF capsule = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const double radius = capsule.height() / 2;
    painter.setPen(QPen(Theme::border(dark), 1));
    painter.setBrush(Theme::surface(dark));
    painter.drawRoundedRect(capsule, radius, radius);
    painter.setPen(QPen(Theme::border(dark), 1));
    for (const QFrame* divider : findChildren<QFrame*>(QStringLiteral("divider"))) {
        const double x = divider->geometry().center().x() + 0.5;
        painter.drawLine(QPointF(x, divider->y()), QPointF(x, divider->y() + divider->height()));
    }
}

QList<PillButton*> ActionPillView::buttons() const
{
    QList<PillButton*> result;
    for (int i = 0; i < layout()->count(); ++i) {
        if (auto* button = qobject_cast<PillButton*>(layout()->itemAt(i)->widget()))
            result.append(button);
    }
    return result;
}

void ActionPillView::startKeyboardUse()
{
    grabKeyboard();
    KeyboardGrab::setHeld(true);
    m_keyboardIndex = -1;
    moveKeyboard(1);
}

void ActionPillView::stopKeyboardUse()
{
    if (m_keyboardIndex < 0)
        return;
    releaseKeyboard();
    KeyboardGrab::setHeld(false);
    buttons().value(m_keyboardIndex)->setKeyboardCurrent(false);
    m_keyboardIndex = -1;
}

// Disabled buttons are skipped; the movement wraps around at both ends.
void ActionPillView::moveKeyboard(int step)
{
    const QList<PillButton*> all = buttons();
    if (m_keyboardIndex >= 0)
        all[m_keyboardIndex]->setKeyboardCurrent(false);
    int index = m_keyboardIndex;
    for (int tries = 0; tries < all.size(); ++tries) {
        index = (index + step + all.size()) % all.size();
        if (all[index]->isEnabled())
            break;
    }
    m_keyboardIndex = index;
    all[index]->setKeyboardCurrent(true);
    QAccessibleEvent focus(all[index], QAccessible::Focus);
    QAccessible::updateAccessibility(&focus);
}

void ActionPillView::pressKeyboardCurrent(int key)
{
    PillButton* button = buttons().value(m_keyboardIndex);
    if (!button)
        return;
    auto* rewrite = qobject_cast<RewriteMenuButton*>(button);
    if (rewrite && key == Qt::Key_Down) {
        // The open menu needs the keys, and a widget's keyboard grab outranks a menu's: the pill
        // lets go of the keyboard until the menu closes.
        releaseKeyboard();
        rewrite->showMenu();
    } else if (key != Qt::Key_Down)
        button->click();
}

// A menu closed without a style (Escape) hands the keyboard back to the pill still in use.
void ActionPillView::resumeKeyboardUse()
{
    if (m_keyboardIndex >= 0 && isVisible())
        grabKeyboard();
}

void ActionPillView::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Right:
    case Qt::Key_Tab:
        moveKeyboard(1);
        return;
    case Qt::Key_Left:
    case Qt::Key_Backtab:
        moveKeyboard(-1);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
    case Qt::Key_Down:
        pressKeyboardCurrent(event->key());
        return;
    case Qt::Key_Escape:
        stopKeyboardUse();
        Q_EMIT escapePressed();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void ActionPillView::hideEvent(QHideEvent* event)
{
    stopKeyboardUse();
    QWidget::hideEvent(event);
}
