#include "result/ResultPanelController.h"

#include "pill/FloatingPanel.h"
#include "pill/ScreenPlacement.h"
#include "platform/Platform.h"
#include "result/ResultPanelSize.h"
#include "result/ResultView.h"

ResultPanelController::ResultPanelController(Clock& clock, UserDefaults& defaults, WritingModeStore& modes,
                                             QObject* parent)
    : QObject(parent), m_clock(clock), m_defaults(defaults), m_modes(modes)
{}

ResultPanelController::~ResultPanelController()
{
    delete m_panel;
}

void ResultPanelController::createPanel()
{
    const QSize size = ResultPanelSize::read(m_defaults).toSize();
    m_panel = new FloatingPanel(size, true, true);
    m_panel->setMinimumSize(int(ResultPanelSize::minimumWidth), int(ResultPanelSize::minimumHeight));
    m_panel->setAccessibleName(QStringLiteral("Halvora result"));
    connect(m_panel, &FloatingPanel::willClose, this, &ResultPanelController::panelWillClose);
}

// Each result gets new content at the remembered size (not the size the reused panel had).
void ResultPanelController::show(const AIAction& action, const Selection& selection)
{
    if (!m_panel)
        createPanel();
    ResultViewData data;
    data.action = action;
    data.selectionText = selection.text;
    data.appName = selection.appName;
    data.isEditable = selection.isEditable;
    data.needsFirstQuestion = action.actionCase() == AIAction::Case::ask;
    ResultView::Callbacks callbacks;
    callbacks.onClose = [this] { close(); };
    m_panel->setContentWidget(new ResultView(data, m_clock, m_modes, callbacks));
    m_panel->setWindowTitle(action.title());
    const QSizeF size = ResultPanelSize::read(m_defaults);
    const QPointF origin = ScreenPlacement::resultOrigin(size, selection.rect, Platform::screens().mouseLocation(),
                                                         ScreenPlacement::current());
    m_panel->setGlobalFrame(QRectF(origin, size));
    m_panel->makeKeyAndOrderFront();
}

void ResultPanelController::close()
{
    if (m_panel)
        m_panel->close();
}

ResultView* ResultPanelController::view() const
{
    return m_panel ? qobject_cast<ResultView*>(m_panel->contentWidget()) : nullptr;
}

void ResultPanelController::panelWillClose()
{
    ResultPanelSize::write(m_defaults, QSizeF(m_panel->size()));
}
