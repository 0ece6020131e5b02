#include "pill/ActionPillController.h"

#include "common/Timings.h"
#include "pill/ActionPillView.h"
#include "platform/Clock.h"
#include "platform/Platform.h"
#include "selection/TextReplacer.h"
#include "ui/AccessibleAnnouncement.h"
#include "ui/FloatingPanel.h"
#include "ui/ScreenPlacement.h"

ActionPillController::ActionPillController(Clock& clock, WritingModeStore& modes, QObject* parent)
    : PillPresenter(parent), m_clock(clock), m_modes(modes)
{}

ActionPillController::~ActionPillController()
{
    delete m_panel;
}

void ActionPillController::createPanel()
{
    if (!m_panel)
        m_panel = new FloatingPanel(QSize(0, 0), false, false);
}

// A new selection also cancels the hide still pending from a copy on the previous one, which
// would otherwise take the new pill away as soon as it appeared.
void ActionPillController::show(const Selection& selection)
{
    m_copyTimeout.cancel();
    m_selection = selection;
    auto* view = new ActionPillView(selection.isEditable, clipboardHasText(), m_modes);
    connect(view, &ActionPillView::actionRequested, this, &ActionPillController::handleAction);
    connect(view, &ActionPillView::copyRequested, this, &ActionPillController::handleCopy);
    connect(view, &ActionPillView::pasteRequested, this, &ActionPillController::handlePaste);
    connect(view, &ActionPillView::escapePressed, this, &ActionPillController::hidePanel);
    const QSize size = view->sizeHint();
    createPanel();
    m_panel->setContentWidget(view);
    const QPointF origin = ScreenPlacement::pillOrigin(
        QSizeF(size), selection.rect, Platform::screens().cursorPosition(), ScreenPlacement::current());
    m_panel->setGeometry(QRect(origin.toPoint(), size));
    m_panel->fadeIn();
    m_panel->showWithoutActivating();
    Timings::reportWhenExposed(m_panel->windowHandle(), QStringLiteral("pill shown"), Timings::Since::GestureEnd);
    AccessibleAnnouncement::announce(m_panel, tr("Halvora actions available"));
}

void ActionPillController::hidePanel()
{
    if (m_panel)
        m_panel->hideWithoutClosing();
}

void ActionPillController::focusPill()
{
    if (!m_panel || !m_panel->isVisible() || !view())
        return;
    view()->startKeyboardUse();
}

ActionPillView* ActionPillController::view() const
{
    return m_panel ? qobject_cast<ActionPillView*>(m_panel->contentWidget()) : nullptr;
}

bool ActionPillController::clipboardHasText()
{
    return Platform::clipboard().hasText();
}

void ActionPillController::handleAction(const AIAction& action)
{
    if (!m_selection)
        return;
    hidePanel();
    Q_EMIT actionChosen(action, *m_selection);
}

void ActionPillController::handleCopy()
{
    if (!m_selection)
        return;
    Platform::clipboard().clear();
    Platform::clipboard().setString(m_selection->text);
    AccessibleAnnouncement::announce(m_panel, tr("Copied"));
    m_copyTimeout = m_clock.after(copiedDisplayMs, [this] { hidePanel(); });
}

void ActionPillController::handlePaste()
{
    if (!m_selection)
        return;
    hidePanel();
    TextReplacer::pasteClipboard(*m_selection, m_clock);
}
