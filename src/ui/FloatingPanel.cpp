#include "ui/FloatingPanel.h"

#include "platform/Platform.h"
#include "ui/Icons.h"
#include "ui/Theme.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPropertyAnimation>
#include <QShowEvent>
#include <QSizeGrip>
#include <QToolButton>
#include <QWindow>

namespace {

Qt::WindowFlags flagsFor(bool takesFocus)
{
    Qt::WindowFlags flags = Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint;
    if (!takesFocus)
        flags |= Qt::WindowDoesNotAcceptFocus | Qt::X11BypassWindowManagerHint;
    return flags;
}

} // namespace

FloatingPanel::FloatingPanel(const QSize& contentSize, bool takesFocus, bool chrome, QWidget* parent)
    : QWidget(parent, flagsFor(takesFocus)), m_takesFocus(takesFocus), m_chrome(chrome),
      m_fade(new QPropertyAnimation(this, "windowOpacity", this))
{
    setAttribute(Qt::WA_ShowWithoutActivating, !takesFocus);
    setAttribute(Qt::WA_DeleteOnClose, false);
    setAttribute(Qt::WA_TranslucentBackground, !chrome);
    setFocusPolicy(takesFocus ? Qt::StrongFocus : Qt::NoFocus);
    m_fade->setDuration(fadeInMs);
    m_fade->setStartValue(0.0);
    m_fade->setEndValue(1.0);
    resize(contentSize);
    if (chrome)
        addChrome();
}

void FloatingPanel::addChrome()
{
    m_closeButton = new QToolButton(this);
    m_closeButton->setAutoRaise(true);
    m_closeButton->setIconSize(QSize(12, 12));
    m_closeButton->setAccessibleName(tr("Close"));
    m_closeButton->setFocusPolicy(Qt::NoFocus);
    m_closeButton->setGeometry(10, 8, 20, 20);
    connect(m_closeButton, &QToolButton::clicked, this, &QWidget::close);
    m_grip = new QSizeGrip(this);
    m_grip->resize(14, 14);
    QEvent paletteChange(QEvent::PaletteChange);
    changeEvent(&paletteChange);
}

// The old content may be the sender of the press that led here, so it goes away once control
// has returned to the event loop.
void FloatingPanel::setContentWidget(QWidget* content)
{
    if (m_content) {
        m_content->hide();
        m_content->deleteLater();
    }
    m_content = content;
    content->setParent(this);
    content->setGeometry(rect());
    content->show();
    if (m_closeButton)
        m_closeButton->raise();
    if (m_grip)
        m_grip->raise();
}

void FloatingPanel::showWithoutActivating()
{
    show();
    raise();
}

void FloatingPanel::showAndActivate()
{
    showWithoutActivating();
    activateWindow();
}

void FloatingPanel::fadeIn()
{
    m_fade->stop();
    setWindowOpacity(0.0);
    m_fade->start();
}

void FloatingPanel::hideWithoutClosing()
{
    m_fade->stop();
    m_dragOffset.reset();
    hide();
}

void FloatingPanel::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void FloatingPanel::closeEvent(QCloseEvent* event)
{
    Q_EMIT aboutToClose();
    m_fade->stop();
    event->accept();
}

void FloatingPanel::paintEvent(QPaintEvent*)
{
    if (!m_chrome)
        return;
    const bool dark = Theme::isDark(palette());
    QPainter painter(this);
    painter.fillRect(rect(), Theme::background(dark));
    painter.setPen(Theme::border(dark));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void FloatingPanel::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange && m_closeButton) {
        const QColor color = Theme::secondaryText(Theme::isDark(palette()));
        m_closeButton->setIcon(Icons::tinted(QStringLiteral("window-close"), color, color, 12));
    }
    QWidget::changeEvent(event);
}

// Sent before the window is mapped, so the window manager places it on every workspace at once.
void FloatingPanel::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_takesFocus && !event->spontaneous())
        Platform::workspace().showOnAllWorkspaces(winId());
}

// The pill bypasses the window manager, which therefore cannot move it; a window manager that
// declines to move the result panel leaves the move to the panel as well.
void FloatingPanel::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    if (m_takesFocus && windowHandle() && windowHandle()->startSystemMove())
        return;
    m_dragOffset = event->globalPosition().toPoint() - pos();
}

void FloatingPanel::mouseMoveEvent(QMouseEvent* event)
{
    if (m_dragOffset && event->buttons().testFlag(Qt::LeftButton)) {
        move(event->globalPosition().toPoint() - *m_dragOffset);
        return;
    }
    QWidget::mouseMoveEvent(event);
}

void FloatingPanel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_dragOffset.reset();
    QWidget::mouseReleaseEvent(event);
}

void FloatingPanel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (m_content)
        m_content->setGeometry(rect());
    if (m_grip)
        m_grip->move(width() - m_grip->width(), height() - m_grip->height());
}
