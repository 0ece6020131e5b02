#include "pill/PillButton.h"

#include "ui/Icons.h"
#include "ui/Theme.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>

PillButton::PillButton(const QString& iconName, const QString& title, const QString& help, QWidget* parent)
    : QAbstractButton(parent), m_iconName(iconName)
{
    setText(title);
    setToolTip(help);
    setAccessibleName(title);
    setAccessibleDescription(help);
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_Hover);
    QFont callout = font();
    callout.setPointSizeF(callout.pointSizeF() * 0.92);
    callout.setWeight(QFont::Medium);
    setFont(callout);
}

void PillButton::setIconName(const QString& iconName)
{
    m_iconName = iconName;
    update();
}

double PillButton::capsuleOpacity() const
{
    if (isDown())
        return 0.28;
    return m_hovering ? 0.16 : 0.0;
}

void PillButton::setKeyboardCurrent(bool current)
{
    m_keyboardCurrent = current;
    update();
}

QSize PillButton::sizeHint() const
{
    int width = 2 * horizontalPadding + iconSize + trailingWidth();
    if (!text().isEmpty())
        width += iconSpacing + fontMetrics().horizontalAdvance(text());
    const int height = 2 * verticalPadding + qMax(iconSize, fontMetrics().height());
    return {width, height};
}

QColor PillButton::foreground() const
{
    const bool dark = Theme::isDark(palette());
    return isEnabled() ? Theme::text(dark) : Theme::secondaryText(dark);
}

void PillButton::paintCapsule(QPainter& painter) const
{
    const bool dark = Theme::isDark(palette());
    const QRectF shape = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const double radius = shape.height() / 2;
    QColor fill = Theme::accent(dark);
    fill.setAlphaF(capsuleOpacity());
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(shape, radius, radius);
    if (hasFocus() || m_keyboardCurrent) {
        painter.setPen(QPen(Theme::accent(dark), 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(shape.adjusted(0.75, 0.75, -0.75, -0.75), radius, radius);
    }
}

void PillButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    paintCapsule(painter);
    const QColor color = foreground();
    const int iconTop = (height() - iconSize) / 2;
    painter.drawPixmap(horizontalPadding, iconTop, Icons::pixmap(m_iconName, iconSize, color, devicePixelRatioF()));
    if (text().isEmpty())
        return;
    painter.setPen(color);
    const int textLeft = horizontalPadding + iconSize + iconSpacing;
    painter.drawText(QRect(textLeft, 0, width() - textLeft - trailingWidth(), height()), Qt::AlignVCenter, text());
}

void PillButton::enterEvent(QEnterEvent* event)
{
    m_hovering = true;
    update();
    QAbstractButton::enterEvent(event);
}

void PillButton::leaveEvent(QEvent* event)
{
    m_hovering = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void PillButton::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && event->modifiers() == Qt::NoModifier) {
        animateClick();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

bool PillButton::hitButton(const QPoint& pos) const
{
    QPainterPath capsule;
    const double radius = height() / 2.0;
    capsule.addRoundedRect(QRectF(rect()), radius, radius);
    return capsule.contains(QPointF(pos));
}
